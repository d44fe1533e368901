#include "editor/document/editlayout.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/toolbars.h"
#include "editor/print/printcommands.h"
#include "editor/ruler/pagemargins.h"
#include "editor/ruler/richprintermargins.h"
#include "editor/ruler/rulerbinding.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "print/richprinter.h"
#include "richtext/rxrichedit.h"
#include "ruler/rulerguidelines.h"
#include "ruler/rulermarker.h"
#include "ruler/tanlruler.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAccessible>
#include <QAction>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>
#include <memory>

namespace {
// A page with the given margins and printable width in millimetres.
struct FixedPage : PageMargins {
    double left = 15;
    double right = 15;
    double printable = 198;
    double MarginLeft() const override { return left; }
    double MarginRight() const override { return right; }
    double PrintableWidth() const override { return printable; }
};

// Indents of the paragraph at the selection: first line, following lines, right.
QList<int> indents(TRxRichEdit &memo) {
    const TRxParaAttributes paragraph = memo.Paragraph();
    return {paragraph.FirstIndent(), paragraph.LeftIndent(), paragraph.RightIndent()};
}
} // namespace

// The ruler in the editor window: its place and start, the page margins it takes, drags that
// set the paragraph's indents and the editing rectangle, the indent commands, the markers
// following the selection, and the ruler hidden in text mode.
class tst_RulerBinding : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    FixedPage m_page;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TanlRuler &ruler() { return m_form->ruler1(); }
    TRulerBinding &binding() { return m_form->rulerBinding(); }
    TEditLayout &layout() { return m_form->layoutRoutine(); }

    static void send(QWidget *target, QEvent::Type type, int x, int y) {
        const QPointF local(x, y);
        QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    RulerMarker *marker(int id) {
        switch (id) {
        case TanlRuler::FirstIndent:
            return ruler().FirstIndentMarker();
        case TanlRuler::LeftIndent:
            return ruler().LeftIndentMarker();
        case TanlRuler::RightIndent:
            return ruler().RightIndentMarker();
        default:
            return ruler().IndentBlock();
        }
    }

    // Two plain paragraphs, the caret in the first, the markers placed for it.
    void twoParagraphs() {
        memo().SetText(QStringLiteral("first paragraph\r\nsecond paragraph"));
        memo().SelectRange(2, 2, false);
        binding().SetMargin();
        QCOMPARE(ruler().IndentFirst(), 50);
        QCOMPARE(ruler().IndentLeft(), 50);
        QCOMPARE(ruler().IndentRight(), 754);
    }

    void focusElsewhere() {
        m_form->activateWindow();
        m_form->toolBars().FontSizeBox->setFocus();
        QTRY_VERIFY(!memo().hasFocus());
    }

private slots:
    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        m_page = FixedPage{};
        binding().setPageMargins(m_page);
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        m_prompts.reset();
    }

    void rulerInItsPanel() {
        QCOMPARE(ruler().parentWidget(), &m_form->RulerPanel());
        QCOMPARE(ruler().objectName(), QStringLiteral("ruler1"));
        QCOMPARE(ruler().pos(), QPoint(0, 0));
        QCOMPARE(ruler().height(), 27);
        QCOMPARE(ruler().font().family(), QStringLiteral("Small Fonts"));
        QCOMPARE(ruler().font().pixelSize(), 9);
        QCOMPARE(ruler().toolTip(), QStringLiteral("Adjust Indent"));
        QCOMPARE(ruler().statusTip(), QStringLiteral("Adjust Indent and Margins"));
        QCOMPARE(ruler().Richedit(), &memo());
        // The page without a printer: 15 mm margins, 198 mm printable.
        QCOMPARE(layout().MarginLeftPx, 48);
        QCOMPARE(layout().MarginRightPx, 48);
        QCOMPARE(layout().RulerWidthPx, 816);
        QCOMPARE(ruler().width(), 816);
        // A ruler wider than the window is cut off, the window keeps its sizes.
        QCOMPARE(m_form->minimumSize(), QSize(500, 300));
        m_form->resize(600, 400);
        QTRY_COMPARE(m_form->width(), 600);
        QCOMPARE(ruler().width(), 816);

        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&ruler());
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Adjust Indent"));
        QCOMPARE(face->childCount(), 5);
        QCOMPARE(face->child(3)->valueInterface()->currentValue().toInt(), 48);
    }

    void setMargin_data() {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("printable");
        QTest::addColumn<int>("leftPx");
        QTest::addColumn<int>("rightPx");
        QTest::addColumn<int>("widthPx");
        QTest::addRow("15 mm each") << 15.0 << 15.0 << 198.0 << 48 << 48 << 816;
        // Millimetres are truncated before they become pixels, and the pixels again.
        QTest::addRow("fractions") << 25.9 << 10.2 << 190.5 << 80 << 32 << 784;
        QTest::addRow("no margins") << 0.0 << 0.0 << 198.0 << 0 << 0 << 816;
        QTest::addRow("letter paper") << 19.05 << 19.05 << 203.2 << 60 << 60 << 838;
    }

    void setMargin() {
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, printable);
        QFETCH(int, leftPx);
        QFETCH(int, rightPx);
        QFETCH(int, widthPx);
        memo().SetText(QStringLiteral("some text"));
        memo().SetModified(false);
        m_page.left = left;
        m_page.right = right;
        m_page.printable = printable;
        binding().SetMargin();
        QCOMPARE(layout().MarginLeftPx, leftPx);
        QCOMPARE(layout().MarginRightPx, rightPx);
        QCOMPARE(layout().RulerWidthPx, widthPx);
        QCOMPARE(ruler().MarginLeft(), leftPx);
        QCOMPARE(ruler().MarginRight(), rightPx);
        QCOMPARE(ruler().width(), widthPx);
        // The markers stand where the paragraph (no indents) puts them.
        QCOMPARE((RulerIndentMarkers{ruler().IndentFirst(), ruler().IndentLeft(),
                                     ruler().IndentRight()}),
                 RulerMarkersForIndents(0, 0, 0, leftPx, rightPx, widthPx));
        // The text follows at once, broken at the printable width as on paper.
        const int w = widthPx - rightPx;
        QCOMPARE(memo().FormatRect().left(), leftPx);
        QCOMPARE(memo().FormatRect().right() + 1, w + 8);
        QCOMPARE(memo().TargetLineWidth(), w * 13 + w / 2);
        QVERIFY(!memo().Modified());
    }

    void pageDialogBringsTheRulerIntoLine_data() {
        QTest::addColumn<bool>("inches");
        QTest::addRow("millimetres") << false;
        QTest::addRow("inches") << true;
    }

    void pageDialogBringsTheRulerIntoLine() {
        QFETCH(bool, inches);
        TRichPrinter &printer = m_form->RichPrinter1();
        RichPrinterMargins page(printer);
        binding().setPageMargins(page);
        printer.SetMarginLeft(25);
        printer.SetMarginRight(20);
        if (inches)
            printer.SetMeasureUnit(muInches);
        // Without a printer the paper is A4 in millimetres and letter in inches.
        const double printable = printer.PrintableWidth() * (inches ? 25.4 : 1);
        // What "Page Dialog" runs after the dialog, whatever its answer.
        m_form->printCommands().SetMargin();
        QCOMPARE(layout().MarginLeftPx, 80);
        QCOMPARE(layout().MarginRightPx, 64);
        QCOMPARE(layout().RulerWidthPx, int(int(std::round(printable * 1000) / 1000 * 1.29) * 3.2));
        QCOMPARE(ruler().MarginLeft(), 80);
        QCOMPARE(ruler().MarginRight(), 64);
        QCOMPARE(memo().FormatRect().left(), 80);
    }

    void markerDragSetsTheParagraph_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("expected");
        // Markers at 50, 50 and 754; the left margin line at 53, the pointer held at the
        // marker's middle and snapped to 10 pixels.
        QTest::addRow("first line") << 0 << 90 << QList<int>{30, -30, 0};
        QTest::addRow("left") << 1 << 130 << QList<int>{0, 60, 0};
        QTest::addRow("right") << 2 << 700 << QList<int>{0, 0, 41};
        QTest::addRow("block") << 3 << 90 << QList<int>{30, 0, 0};
    }

    void markerDragSetsTheParagraph() {
        QFETCH(int, id);
        QFETCH(int, to);
        QFETCH(QList<int>, expected);
        twoParagraphs();
        memo().SetModified(false);
        RulerMarker *m = marker(id);
        send(m, QEvent::MouseButtonPress, 4, 3);
        for (int step = 1; step <= 4; ++step) {
            const int x = m->x() + (to - m->x()) * step / 4;
            send(m, QEvent::MouseMove, x + 4 - m->x(), 3);
        }
        // Nothing is applied while the marker moves.
        QCOMPARE(indents(memo()), (QList<int>{0, 0, 0}));
        QVERIFY(!memo().Modified());
        send(m, QEvent::MouseButtonRelease, 4, 3);
        QCOMPARE(indents(memo()), expected);
        QVERIFY(memo().Modified());
        // Only the selected paragraph, in one undo step.
        memo().SelectRange(20, 20, false);
        QCOMPARE(indents(memo()), (QList<int>{0, 0, 0}));
        memo().Undo();
        memo().SelectRange(2, 2, false);
        QCOMPARE(indents(memo()), (QList<int>{0, 0, 0}));
    }

    void marginDragMovesTheEditingRectangle_data() {
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("leftPx");
        QTest::addColumn<int>("rightPx");
        // Margin lines at 53 and 763 on the 816-pixel ruler.
        QTest::addRow("left") << true << 53 << 100 << 90 << 48;
        QTest::addRow("right") << false << 762 << 700 << 48 << 110;
    }

    void marginDragMovesTheEditingRectangle() {
        QFETCH(bool, left);
        QFETCH(int, press);
        QFETCH(int, to);
        QFETCH(int, leftPx);
        QFETCH(int, rightPx);
        twoParagraphs();
        memo().SetModified(false);
        send(&ruler(), QEvent::MouseButtonPress, press, 12);
        send(&ruler(), QEvent::MouseMove, to, 12);
        // The guide line runs across the editing area while the margin moves.
        auto *lines = memo().findChild<RulerGuideLines *>();
        QVERIFY(lines);
        QCOMPARE(lines->lines().size(), 1);
        send(&ruler(), QEvent::MouseButtonRelease, to, 12);
        QVERIFY(lines->lines().isEmpty());
        QCOMPARE(left ? ruler().MarginLeft() : ruler().MarginRight(), left ? leftPx : rightPx);
        QCOMPARE(layout().MarginLeftPx, leftPx);
        QCOMPARE(layout().MarginRightPx, rightPx);
        const int w = 816 - rightPx;
        QCOMPARE(memo().FormatRect().left(), leftPx);
        QCOMPARE(memo().FormatRect().right() + 1, w + 8);
        QCOMPARE(memo().TargetLineWidth(), w * 13 + w / 2);
        // The paragraphs keep their indents; a layout change is no change of the document.
        QCOMPARE(indents(memo()), (QList<int>{0, 0, 0}));
        QVERIFY(!memo().Modified());
    }

    void indentCommands_data() {
        QTest::addColumn<bool>("memoFocused");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QList<int>>("expected");
        // +1 increase, -1 decrease; one step is 10 pixels, 7.5 points.
        QTest::addRow("increase") << true << QList<int>{1} << QList<int>{8, 0, 0};
        QTest::addRow("three up, one down")
            << true << QList<int>{1, 1, 1, -1} << QList<int>{15, 0, 0};
        // With the focus elsewhere the markers follow the paragraph after each step; the
        // indents the steps did not touch stay as they were.
        QTest::addRow("three up, focus elsewhere")
            << false << QList<int>{1, 1, 1} << QList<int>{23, 0, 0};
    }

    void indentCommands() {
        QFETCH(bool, memoFocused);
        QFETCH(QList<int>, steps);
        QFETCH(QList<int>, expected);
        twoParagraphs();
        if (memoFocused) {
            m_form->activateWindow();
            memo().setFocus();
            QTRY_VERIFY(memo().hasFocus());
        } else {
            focusElsewhere();
        }
        TEditorActions &a = m_form->actions();
        QVERIFY(a.IncIndentAction->isEnabled());
        QVERIFY(a.DecIndentAction->isEnabled());
        for (int step : steps)
            (step > 0 ? a.IncIndentAction : a.DecIndentAction)->trigger();
        QCOMPARE(indents(memo()), expected);
    }

    void markersFollowTheParagraphThroughTheirGuards() {
        memo().SetText(QStringLiteral("A\r\nB"));
        memo().SelectRange(0, 0, false);
        memo().Paragraph().SetRightIndent(400);
        const QList<int> first = indents(memo());
        memo().SelectRange(2, 2, false);
        memo().Paragraph().SetFirstIndent(300);
        const QList<int> second = indents(memo());
        const RulerIndentMarkers a =
            RulerMarkersForIndents(first.at(0), first.at(1), first.at(2), 48, 48, 816);
        const RulerIndentMarkers b =
            RulerMarkersForIndents(second.at(0), second.at(1), second.at(2), 48, 48, 816);
        // B's first-line marker lies right of where A's right marker stands.
        QVERIFY(b.first > a.right);
        focusElsewhere();
        const auto markers = [this] {
            return RulerIndentMarkers{ruler().IndentFirst(), ruler().IndentLeft(),
                                      ruler().IndentRight()};
        };
        memo().SelectRange(0, 0, false);
        QCOMPARE(markers(), a);
        // The right marker goes first, so no guard refuses a step of the move.
        memo().SelectRange(2, 2, false);
        QCOMPARE(markers(), b);
        memo().SelectRange(0, 0, false);
        QCOMPARE(markers(), a);
    }

    void setupRuler_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("expected");
        // The markers start at 0: a new document's paragraph gets 2 points each.
        QTest::addRow("new document") << QString() << QList<int>{2, 2, 0};
        QTest::addRow("opened document keeps its indents") << "text" << QList<int>{20, 10, 0};
    }

    void setupRuler() {
        QFETCH(QString, text);
        QFETCH(QList<int>, expected);
        memo().SetText(text);
        memo().Paragraph().SetFirstIndent(text.isEmpty() ? 0 : 20);
        memo().Paragraph().SetLeftIndent(text.isEmpty() ? 0 : 10);
        memo().SetModified(false);
        ruler().SetMarginLeft(0);
        ruler().SetIndentFirst(0);
        ruler().SetIndentLeft(0);
        binding().SetupRuler();
        QCOMPARE(indents(memo()), expected);
        QVERIFY(!memo().Modified());
    }

    void rulerHiddenInTextMode() {
        TEditorActions &a = m_form->actions();
        QVERIFY(ruler().isVisible());
        a.MenuPlainText->trigger();
        QVERIFY(m_form->mode().TextMode);
        QVERIFY(m_form->RulerPanel().isHidden());
        QVERIFY(ruler().isHidden());
        a.MenuPlainRTF->trigger();
        QVERIFY(m_form->mode().RTFMode);
        QVERIFY(ruler().isVisible());
    }

    void guideLineAcrossTheEditingArea() {
        twoParagraphs();
        RulerMarker *first = ruler().FirstIndentMarker();
        send(first, QEvent::MouseButtonPress, 4, 3);
        auto *lines = memo().findChild<RulerGuideLines *>();
        QVERIFY(lines);
        QVERIFY(lines->isVisible());
        QCOMPARE(lines->lines(), QList<int>{50 + 4 + ruler().x() - memo().x()});
        QCOMPARE(lines->geometry(), memo().contentsRect());
        send(first, QEvent::MouseButtonRelease, 4, 3);
        QVERIFY(lines->lines().isEmpty());
        QVERIFY(lines->isHidden());
    }
};

QUILLET_TEST_MAIN(tst_RulerBinding)
#include "tst_rulerbinding.moc"
