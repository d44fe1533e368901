#include "editor/frame/editoractions.h"
#include "editor/frame/toolbarimages.h"
#include "editor/frame/toolbars.h"
#include "icons/programimages.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

QImage rendered(const QIcon &icon, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(20, 20), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage &image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

// The mean colour of the clearly drawn pixels.
QColor meanInk(const QImage &image) {
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200)
                continue;
            r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

} // namespace

// The pictures of the editor's commands on a desktop without any icon theme, as on a bare X
// server or a minimal installation: every command with a picture still shows one.
class tst_ToolbarImages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QIcon::setThemeSearchPaths({});
        QIcon::setFallbackSearchPaths({});
        QIcon::setThemeName(QString());
        QIcon::setFallbackThemeName(QString());
    }
    void init() {
        m_window = std::make_unique<QWidget>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_actions = new TEditorActions(*m_window, *m_prompts);
        m_bars = std::make_unique<TToolBars>(*m_window, *m_actions);
    }
    void cleanup() {
        m_bars.reset();
        m_window.reset();
        QApplication::setPalette(QPalette());
    }

    void everyCommandWithAPictureShowsOne() {
        const TToolbarImages &images = m_bars->ToolbarImages;
        QSet<QAction *> listed;
        for (const TToolbarImages::Image &entry : images.images()) {
            const QString name = entry.command->text();
            QVERIFY2(!entry.command->icon().isNull(), qPrintable(name));
            QVERIFY2(opaquePixels(rendered(entry.command->icon())) > 10, qPrintable(name));
            listed.insert(entry.command);
        }
        // Every tool button draws from the list.
        for (QToolBar *bar : m_bars->all())
            for (QToolButton *tool : bar->findChildren<QToolButton *>())
                if (QAction *command = tool->defaultAction())
                    QVERIFY2(listed.contains(command), qPrintable(command->text()));
    }

    void picturesOfDifferentCommandsDiffer() {
        QHash<QString, QImage> byImage;
        for (const TToolbarImages::Image &entry : m_bars->ToolbarImages.images())
            byImage.insert(entry.image, rendered(entry.command->icon()));
        const QStringList names = byImage.keys();
        for (int i = 0; i < names.size(); ++i)
            for (int j = i + 1; j < names.size(); ++j)
                QVERIFY2(byImage[names[i]] != byImage[names[j]],
                         qPrintable(names[i] + QLatin1String(" = ") + names[j]));
    }

    // Outlines take the palette's text colour, so a dark theme's light text keeps them legible.
    void outlinesFollowThePalette_data() {
        QTest::addColumn<QColor>("text");
        QTest::addRow("light theme") << QColor(Qt::black);
        QTest::addRow("dark theme") << QColor(230, 230, 230);
    }
    void outlinesFollowThePalette() {
        QFETCH(QColor, text);
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ButtonText, text);
        QApplication::setPalette(palette);
        const QColor ink = meanInk(rendered(m_actions->BoldAction->icon()));
        QVERIFY(ink.isValid());
        QVERIFY2(qAbs(ink.lightness() - text.lightness()) < 40,
                 qPrintable(ink.name() + QLatin1String(" for ") + text.name()));
    }

    void disabledPicturesAreFaded() {
        const QIcon icon = m_actions->CutAction->icon();
        const QImage normal = rendered(icon);
        const QImage disabled = rendered(icon, QIcon::Disabled);
        QVERIFY(opaquePixels(disabled) < opaquePixels(normal));
    }

    void runLocationsKeepTheirSlots() {
        TToolbarImages &images = m_bars->ToolbarImages;
        const QList<QAction *> expected = {m_actions->OpencurrentfilewithEditor11,
                                           m_actions->OpencurrentfilewithEditor1,
                                           m_actions->ToolButton7,
                                           m_actions->ToolButton8,
                                           m_actions->PaintAction,
                                           m_actions->CharMapAction};
        for (int slot = 82; slot <= 87; ++slot)
            QCOMPARE(images.slotCommand(slot), expected[slot - 82]);
        QCOMPARE(images.slotCommand(81), nullptr);
        QCOMPARE(images.slotCommand(88), nullptr);

        QPixmap red(16, 16);
        red.fill(Qt::red);
        QVERIFY(images.setSlotImage(86, QIcon(red)));
        QCOMPARE(rendered(m_actions->PaintAction->icon()).pixelColor(8, 8), QColor(Qt::red));
        QVERIFY(!images.setSlotImage(86, QIcon()));
        QVERIFY(!images.setSlotImage(88, QIcon(red)));
        QCOMPARE(rendered(m_actions->PaintAction->icon()).pixelColor(8, 8), QColor(Qt::red));
    }

    void programIconIsAResource() {
        QVERIFY(QFile::exists(QString::fromLatin1(ProgramImages::ProgramIconPath)));
        const QIcon icon = ProgramImages::programIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(opaquePixels(rendered(icon)) > 200);
    }

    void unknownShippedPictureIsNull() {
        QVERIFY(ProgramImages::shippedImage(QStringLiteral("no-such-picture")).isNull());
        QVERIFY(!ProgramImages::commandImage(QStringLiteral("edit-cut"), QStringLiteral("edit-cut"))
                     .isNull());
    }

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    TEditorActions *m_actions = nullptr;
    std::unique_ptr<TToolBars> m_bars;
};

QUILLET_TEST_MAIN(tst_ToolbarImages)
#include "tst_toolbarimages.moc"
