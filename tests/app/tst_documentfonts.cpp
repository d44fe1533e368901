#include "testenvironment.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QtTest>

// Documents written on other systems ask for their faces by name; the metric-compatible free
// faces the install script brings must answer to those names, so lines break where the author
// saw them.
class tst_DocumentFonts : public QObject {
    Q_OBJECT

private slots:
    void requestedFaceDrawsInTheCompatibleFace_data() {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("compatible");
        QTest::addRow("Times New Roman") << "Times New Roman"
                                         << "Liberation Serif";
        QTest::addRow("Arial") << "Arial"
                               << "Liberation Sans";
        QTest::addRow("Courier New") << "Courier New"
                                     << "Liberation Mono";
        QTest::addRow("Calibri") << "Calibri"
                                 << "Carlito";
        QTest::addRow("Cambria") << "Cambria"
                                 << "Caladea";
    }
    void requestedFaceDrawsInTheCompatibleFace() {
        QFETCH(QString, requested);
        QFETCH(QString, compatible);
        if (!QFontDatabase::families().contains(compatible))
            QSKIP(
                qPrintable(compatible + QLatin1String(" is not installed (scripts/install-deps.sh "
                                                      "installs it)")));
        const QFont font(requested, 12);
        QCOMPARE(QFontInfo(font).family(), compatible);
        // Same advance widths as the face itself: the name really draws in it.
        const QString sample = QStringLiteral("The quick brown fox jumps over the lazy dog 0123");
        QCOMPARE(QFontMetricsF(font).horizontalAdvance(sample),
                 QFontMetricsF(QFont(compatible, 12)).horizontalAdvance(sample));
    }

    // Chinese, Japanese and Korean text needs a face that has their characters.
    void cjkTextHasAFace() {
        if (QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
            QSKIP("no face for Chinese text is installed (scripts/install-deps.sh installs one)");
        const QFont font(QFontDatabase::families(QFontDatabase::SimplifiedChinese).first(), 12);
        QVERIFY(QFontMetricsF(font).inFontUcs4(0x4E2D)); // 中
    }
};

QUILLET_TEST_MAIN(tst_DocumentFonts)
#include "tst_documentfonts.moc"
