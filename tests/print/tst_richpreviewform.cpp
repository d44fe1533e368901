#include "print/elineprinter.h"
#include "print/trichpreviewform.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "widgets/tarrowbutton.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QSize Paper(850, 1100);

// Plays the print engine: `pages` pages, each with its number written on it.
void format(TRichPreviewForm &form, int pages) {
    form.paperKnown(Paper, 215.9, 279.4, false);
    for (int i = 0; i < pages; ++i) {
        QPainter *painter = form.startPage(Paper, nullptr, QFont());
        QVERIFY(painter);
        painter->drawText(100, 100, QString::number(i + 1));
        form.finishPage();
    }
}

} // namespace

class TestRichPreviewForm : public QObject {
    Q_OBJECT

private slots:
    void formatsThenBrowses() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        QPointer<TRichPreviewForm> form =
            new TRichPreviewForm(prompts, true, 1.3, nullptr, work.path());
        form->show();
        QCOMPARE(form->windowTitle(), QStringLiteral("Print Preview (Formatting)"));
        format(*form, 3);
        QCOMPARE(form->Edit1->text(), QStringLiteral("   3")); // the page just saved
        QCOMPARE(form->pageCount(), 3);
        QVERIFY(QFile::exists(QDir(work.path()).filePath(QStringLiteral("PreviewMetafile2.CPR"))));

        form->enterBrowsing();
        QCOMPARE(form->windowTitle(), QStringLiteral("Print Preview"));
        QCOMPARE(form->Label10->text(), QStringLiteral("(3)"));
        QCOMPARE(form->Edit1->text(), QStringLiteral("   1"));
        QVERIFY(!form->Edit1->isReadOnly());
        QVERIFY(!form->ArrowButton1->isEnabled());
        QVERIFY(form->ArrowButton2->isEnabled());
        QVERIFY(!form->Image1->pixmap().isNull());

        const int step = form->navigation().viewSize();
        QTest::keyClick(form, Qt::Key_PageUp);
        QCOMPARE(form->navigation().currentPage(), step);
        QVERIFY(form->ArrowButton1->isEnabled());
        QTest::keyClick(form, Qt::Key_Home);
        QCOMPARE(form->navigation().currentPage(), 0);
        QTest::keyClick(form, Qt::Key_End);
        QCOMPARE(form->navigation().currentPage(), 2);

        QTest::keyClick(form, Qt::Key_L);
        QCOMPARE(form->Label7->text(), QStringLiteral("1.250"));
        QVERIFY(form->SmallerButton->isEnabled());
        QVERIFY(form->Image1->width() > form->ScrollBox1->viewport()->width());
        QTest::keyClick(form, Qt::Key_S);
        QCOMPARE(form->Label7->text(), QStringLiteral("1.000"));
        QVERIFY(!form->SmallerButton->isEnabled());

        form->CloseButton->click();
        QTRY_VERIFY(form.isNull());
        QVERIFY(QDir(work.path()).entryList(QDir::Files).isEmpty());
    }

    void onePageBrowsesAlone() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        form.show();
        format(form, 1);
        form.enterBrowsing();
        QVERIFY(form.Edit1->isReadOnly());
        QVERIFY(form.CompactBox->isHidden());
        QVERIFY(!form.companion());
        QVERIFY(!form.ArrowButton2->isEnabled());
    }

    void pageFileThatCannotBeCreated() {
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("PreviewMetafile0")));
        ScriptedPrompts prompts;
        prompts.answerButton(QMessageBox::Ok);
        TRichPreviewForm form(prompts, false, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        form.paperKnown(Paper, 215.9, 279.4, false);
        QVERIFY(form.startPage(Paper, nullptr, QFont()));
        QVERIFY_THROWS_EXCEPTION(ELinePrinter, form.finishPage());
        QCOMPARE(prompts.texts(),
                 QStringList{QStringLiteral("Can not save the page information (MetaFiles)")});
        QCOMPARE(form.pageCount(), 0);
    }

    void printsSheetsFromThePictures() {
        QTemporaryDir work;
        ScriptedPrompts prompts;
        TRichPreviewForm form(prompts, true, 1.3, nullptr, work.path());
        form.setAttribute(Qt::WA_DeleteOnClose, false);
        format(form, 5);
        form.enterBrowsing();
        form.CompactBox->setChecked(true);
        QCOMPARE(form.navigation().printSheets(), 2);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(work.filePath(QStringLiteral("out.pdf")));
        QCOMPARE(form.printSheets(printer, 1, 2), 2);
        QVERIFY(QFileInfo(work.filePath(QStringLiteral("out.pdf"))).size() > 0);
        QCOMPARE(form.navigation().currentPage(), 0);
    }

    void arrowButtonClicksOnlyInsideTriangle() {
        TArrowButton button;
        button.resize(33, 33);
        button.show();
        int clicks = 0;
        connect(&button, &TArrowButton::clicked, [&clicks] { ++clicks; });
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(2, 2)); // corner, outside
        QCOMPARE(clicks, 0);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(16, 20));
        QCOMPARE(clicks, 1);
        QCOMPARE(button.outerTriangle(), QPolygon({QPoint(16, 3), QPoint(30, 30), QPoint(3, 30)}));
        button.setDirection(arwLEFT);
        QCOMPARE(button.innerTriangle(), QPolygon({QPoint(28, 6), QPoint(28, 28), QPoint(6, 16)}));
    }
};

QUILLET_TEST_MAIN(TestRichPreviewForm)
#include "tst_richpreviewform.moc"
