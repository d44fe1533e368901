#include "editor/format/fontcombodelegate.h"
#include "editor/format/formatcommands.h"
#include "editor/format/formatstyles.h"
#include "editor/format/numstyleform.h"
#include "editor/format/paraformatdlg.h"
#include "editor/format/selectiontracker.h"
#include "editor/format/uscorestyleform.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/frame/toolbars.h"
#include "editor/insert/objectpropertiesdlg.h"
#include "editor/insert/pastespecialdlg.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "ruler/rulerindents.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <memory>

using Style = TRxTextAttributes::FontStyles;

// A ruler 400 pixels wide with margins of 30 and 20 pixels that records where it was told to put
// its markers.
class RecordingRuler : public TIndentRuler {
public:
    int ClientWidth() const override { return 400; }
    int MarginLeftPx() const override { return 30; }
    int MarginRightPx() const override { return 20; }
    void SetIndentMarkers(const RulerIndentMarkers &markers) override { moves.append(markers); }

    QList<RulerIndentMarkers> moves;
};

// The character and paragraph commands, the font and size boxes, the selection tracker and the
// three format dialogs, driven through the editor window as the user reaches them.
class tst_FormatCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TEditorActions &actions() { return m_form->actions(); }
    TFormatCommands &format() { return m_form->formatCommands(); }
    QSpinBox &sizeBox() { return *m_form->toolBars().FontSizeBox; }
    QComboBox &fontBox() { return *m_form->toolBars().FontCombo; }

    // "abc" plain, "def" italic, "ghi" plain.
    void mixedText() {
        memo().SetText(QStringLiteral("abcdefghi"));
        memo().SelectRange(3, 6, false);
        memo().SelAttributes().SetStyle(TRxTextAttributes::fsItalic);
    }

    Style styleAt(int position) {
        memo().SelectRange(position, position + 1, false);
        return memo().SelAttributes().Style();
    }

private slots:
    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        m_prompts.reset();
    }

    void styleFlipMakesAMixedSelectionUniform_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("expected");
        // The style of the selection's first character decides, flipped in one flag.
        QTest::addRow("bold from the italic part")
            << "bold" << 3 << int(TRxTextAttributes::fsBold | TRxTextAttributes::fsItalic);
        QTest::addRow("bold from the plain part") << "bold" << 0 << int(TRxTextAttributes::fsBold);
        QTest::addRow("italic from the italic part") << "italic" << 3 << 0;
        QTest::addRow("strike from the plain part")
            << "strike" << 0 << int(TRxTextAttributes::fsStrikeOut);
    }

    void styleFlipMakesAMixedSelectionUniform() {
        QFETCH(QString, command);
        QFETCH(int, start);
        QFETCH(int, expected);
        mixedText();
        memo().SelectRange(start, 9, false);
        QAction *action = command == QLatin1String("bold")     ? actions().BoldAction
                          : command == QLatin1String("italic") ? actions().ItalicAction
                                                               : actions().StrikeAction;
        QVERIFY(action->isEnabled());
        action->trigger();
        memo().SelectRange(start, 9, false);
        QVERIFY(memo().SelAttributes().Consistent().testFlags(
            TRxTextAttributes::caBold | TRxTextAttributes::caItalic |
            TRxTextAttributes::caStrikeOut | TRxTextAttributes::caUnderline));
        QCOMPARE(int(memo().SelAttributes().Style()), expected);
        // Outside the selection nothing changed.
        if (start > 0)
            QCOMPARE(styleAt(0), Style());
    }

    void trackerMarksFollowTheSelection() {
        mixedText();
        memo().SelectRange(4, 4, true);
        QVERIFY(actions().ItalicAction->isChecked());
        QVERIFY(!actions().BoldAction->isChecked());
        memo().SelectRange(1, 1, true);
        QVERIFY(!actions().ItalicAction->isChecked());
        // Copy and Cut follow whether anything is selected.
        QVERIFY(!actions().CopyAction->isEnabled());
        QVERIFY(!actions().CutAction->isEnabled());
        memo().SelectRange(1, 3, true);
        QVERIFY(actions().CopyAction->isEnabled());
        QVERIFY(actions().CutAction->isEnabled());
        QVERIFY(!format().state().Updating);
    }

    void guardedCommandsDoNothingWhileUpdating() {
        memo().SetText(QStringLiteral("abc"));
        memo().SelectRange(0, 3, false);
        format().state().Updating = true;
        actions().BoldAction->trigger();
        actions().CenterAction->trigger();
        format().FontSizeBoxChange(QStringLiteral("30"));
        format().state().Updating = false;
        QCOMPARE(memo().SelAttributes().Style(), Style());
        QCOMPARE(memo().Paragraph().Alignment(), int(TRxParaAttributes::taLeftJustify));
        QVERIFY(memo().SelAttributes().Size() != 30);
    }

    void alignmentMarks_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("center");
        QTest::addColumn<bool>("right");
        QTest::addRow("left") << 0 << true << false << false;
        QTest::addRow("right") << 1 << false << false << true;
        QTest::addRow("centre") << 2 << false << true << false;
        QTest::addRow("justified marks none") << 3 << false << false << false;
    }

    void alignmentMarks() {
        QFETCH(int, alignment);
        QFETCH(bool, left);
        QFETCH(bool, center);
        QFETCH(bool, right);
        memo().SetText(QStringLiteral("one\ntwo"));
        memo().SelectRange(0, 0, true);
        memo().Paragraph().SetAlignment(alignment);
        memo().SelectRange(1, 1, true);
        QCOMPARE(actions().LeftAction->isChecked(), left);
        QCOMPARE(actions().CenterAction->isChecked(), center);
        QCOMPARE(actions().RightAction->isChecked(), right);
    }

    void alignmentCommandsSetTheParagraphs() {
        memo().SetText(QStringLiteral("one\ntwo\nthree"));
        memo().SelectRange(1, 5, false);
        actions().CenterAction->trigger();
        QCOMPARE(memo().Paragraph().Alignment(), int(TRxParaAttributes::taCenter));
        memo().SelectRange(5, 5, true);
        QCOMPARE(memo().Paragraph().Alignment(), int(TRxParaAttributes::taCenter));
        memo().SelectRange(9, 9, true);
        QCOMPARE(memo().Paragraph().Alignment(), int(TRxParaAttributes::taLeftJustify));
    }

    void superscriptMarksItselfAndTogglesOff() {
        memo().SetText(QStringLiteral("x2"));
        memo().SelectRange(1, 2, true);
        QVERIFY(!actions().SuperscriptAction->isChecked());
        actions().SuperscriptAction->trigger();
        QVERIFY(actions().SuperscriptAction->isChecked());
        QCOMPARE(memo().SelAttributes().ScriptStyle(), int(TRxTextAttributes::ssSuperscript));
        QVERIFY(!actions().SubscriptAction->isChecked());
        // Pressed again on superscript text: the script goes, and since the control reports the
        // format change, the tracker clears the mark at once.
        actions().SuperscriptAction->trigger();
        QCOMPARE(memo().SelAttributes().ScriptStyle(), int(TRxTextAttributes::ssNone));
        QVERIFY(!actions().SuperscriptAction->isChecked());
        actions().SubscriptAction->trigger();
        QCOMPARE(memo().SelAttributes().ScriptStyle(), int(TRxTextAttributes::ssSubscript));
        QVERIFY(actions().SubscriptAction->isChecked());
    }

    void underscoreAppliesTheChosenKindOrRemovesAnyUnderline() {
        memo().SetText(QStringLiteral("word"));
        memo().SelectRange(0, 4, false);
        format().state().SetUScoreType(QStringLiteral("utDouble"));
        actions().UnderscoreAction->trigger();
        QCOMPARE(memo().SelAttributes().UnderlineType(), 3);
        QVERIFY(actions().UnderscoreAction->isChecked());
        actions().UnderscoreAction->trigger();
        QCOMPARE(memo().SelAttributes().UnderlineType(), 0);
        QVERIFY(!actions().UnderscoreAction->isChecked());
    }

    void bulletAppliesTheChosenNumberingOrRemovesIt() {
        memo().SetText(QStringLiteral("one\ntwo"));
        memo().SelectRange(0, 5, false);
        format().state().SetBulletsStyle(QStringLiteral("nsUpCaseRoman"));
        actions().BulletAction->trigger();
        QCOMPARE(memo().Paragraph().Numbering(), int(TRxParaAttributes::nsUpCaseRoman));
        QVERIFY(actions().BulletAction->isChecked());
        actions().BulletAction->trigger();
        QCOMPARE(memo().Paragraph().Numbering(), int(TRxParaAttributes::nsNone));
        // A paragraph numbered otherwise takes the chosen numbering.
        memo().Paragraph().SetNumbering(TRxParaAttributes::nsBullet);
        actions().BulletAction->trigger();
        QCOMPARE(memo().Paragraph().Numbering(), int(TRxParaAttributes::nsUpCaseRoman));
    }

    void sizeBoxKeystrokes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("setting");
        // Every keystroke applies; the box keeps the focus while a number is typed.
        QTest::addRow("14 applies 1 then 14") << "14" << 14 << "14";
        QTest::addRow("0 leaves the size, keeps the text") << "0" << 20 << "0";
        QTest::addRow("cleared applies the minimum") << "" << 1 << "1";
    }

    void sizeBoxKeystrokes() {
        QFETCH(QString, typed);
        QFETCH(int, size);
        QFETCH(QString, setting);
        memo().SetText(QStringLiteral("text"));
        memo().SelectRange(0, 4, false);
        memo().SelAttributes().SetSize(20);
        QList<int> applied;
        connect(&memo(), &TRxRichEdit::OnChange, this,
                [&] { applied.append(memo().SelAttributes().Size()); });
        sizeBox().setFocus();
        QLineEdit *field = sizeBox().findChild<QLineEdit *>();
        QVERIFY(field);
        field->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, typed);
        QCOMPARE(memo().SelAttributes().Size(), size);
        QCOMPARE(memo().Text(), QStringLiteral("text"));
        QCOMPARE(format().state().FontSize, setting);
        if (typed == QLatin1String("14"))
            QCOMPARE(applied.first(), 1);
        QVERIFY(sizeBox().hasFocus());
        QTest::keyClick(field, Qt::Key_Return);
        QTRY_VERIFY(memo().hasFocus());
        disconnect(&memo(), &TRxRichEdit::OnChange, this, nullptr);
    }

    void sizeBoxArrowsApplyAndReturnTheFocus() {
        memo().SetText(QStringLiteral("text"));
        memo().SelectRange(0, 4, false);
        memo().SelAttributes().SetSize(12);
        memo().SelectRange(0, 4, true);
        QCOMPARE(sizeBox().value(), 12);
        sizeBox().stepUp();
        QCOMPARE(memo().SelAttributes().Size(), 13);
        QVERIFY(memo().hasFocus());
    }

    void sizeBoxFollowsTheSelection() {
        memo().SetText(QStringLiteral("ab"));
        memo().SelectRange(0, 1, false);
        memo().SelAttributes().SetSize(30);
        memo().SelectRange(0, 0, true);
        memo().SelectRange(1, 1, true);
        QCOMPARE(sizeBox().value(), 30);
        // The tracker's own write is not applied back to the text.
        memo().SelectRange(2, 2, true);
        QVERIFY(sizeBox().value() != 30);
        memo().SelectRange(0, 1, false);
        QCOMPARE(memo().SelAttributes().Size(), 30);
    }

    void fontBoxFollowsAndApplies() {
        QVERIFY(fontBox().count() > 0);
        const QString listed = fontBox().itemText(fontBox().count() - 1);
        memo().SetText(QStringLiteral("ab"));
        memo().SelectRange(0, 1, false);
        memo().SelAttributes().SetName(listed.toUpper());
        memo().SelectRange(1, 1, true);
        // A name differing only in case selects the listed item.
        QCOMPARE(fontBox().currentText(), listed);
        memo().SelectRange(0, 2, false);
        memo().SelAttributes().SetName(QStringLiteral("No Such Face At All"));
        memo().SelectRange(1, 1, true);
        QCOMPARE(fontBox().currentIndex(), -1);
        // Choosing an item applies it and keeps it for the settings.
        memo().SelectRange(0, 2, false);
        fontBox().setCurrentIndex(0);
        emit fontBox().textActivated(fontBox().itemText(0));
        memo().SelectRange(0, 2, false);
        QCOMPARE(memo().SelAttributes().Name(), fontBox().itemText(0));
        QCOMPARE(format().state().FontStyle, fontBox().itemText(0));
        QVERIFY(memo().hasFocus());
    }

    void fontBoxItemsAreDrawnInTheirOwnTypeface() {
        auto *delegate = qobject_cast<TFontComboDelegate *>(fontBox().itemDelegate());
        QVERIFY(delegate);
        QStyleOptionViewItem option;
        option.font = fontBox().font();
        const QModelIndex first = fontBox().model()->index(0, 0);
        QCOMPARE(delegate->sizeHint(option, first).height(), TFontComboDelegate::ItemHeight);
        const QString family = fontBox().itemText(0);
        QCOMPARE(TFontComboDelegate::itemFont(family, option.font).families().first(), family);
        QImage canvas(200, TFontComboDelegate::ItemHeight, QImage::Format_ARGB32);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        option.rect = canvas.rect();
        option.palette = fontBox().palette();
        delegate->paint(&painter, option, first);
        painter.end();
        // The rectangle is filled and the name written after the offset, never before it.
        QCOMPARE(canvas.pixelColor(1, 1), option.palette.color(QPalette::Base));
        bool written = false;
        for (int y = 0; y < canvas.height() && !written; ++y) {
            for (int x = TFontComboDelegate::TextOffset; x < canvas.width() && !written; ++x)
                written = canvas.pixelColor(x, y) != option.palette.color(QPalette::Base);
        }
        QVERIFY(written);
    }

    void rulerMarkersForIndents_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("firstX");
        QTest::addColumn<int>("leftX");
        QTest::addColumn<int>("rightX");
        // first: F*4/3 + 2 + 30; left: (L+F)*4/3 + 2 + 30; right: 400 - 6 - ((R+6)*4/3 + 20).
        QTest::newRow("no indents") << 0 << 0 << 0 << 32 << 32 << 366;
        QTest::newRow("whole pixels") << 36 << 18 << 72 << 80 << 104 << 270;
        // 1 pt is 1.33 px and -1 pt is -1.33 px: both truncate toward zero.
        QTest::newRow("fractions truncate") << 1 << -2 << 1 << 33 << 31 << 365;
        QTest::newRow("hanging indent") << 20 << -20 << -6 << 58 << 32 << 374;
    }

    void rulerMarkersForIndents() {
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(int, firstX);
        QFETCH(int, leftX);
        QFETCH(int, rightX);
        QCOMPARE(RulerMarkersForIndents(first, left, right, 30, 20, 400),
                 (RulerIndentMarkers{firstX, leftX, rightX}));
    }

    void rulerMarkersStayWhileTheEditingAreaHasTheFocus() {
        RecordingRuler ruler;
        m_form->selectionTracker().setRuler(&ruler);
        memo().SetText(QStringLiteral("first\r\nsecond"));
        memo().SelectRange(8, 8, false);
        memo().Paragraph().SetFirstIndent(36);
        memo().Paragraph().SetLeftIndent(18);
        memo().SelectRange(0, 0, false);

        m_form->activateWindow();
        memo().setFocus();
        QTRY_VERIFY(memo().hasFocus());
        ruler.moves.clear();
        memo().SelectRange(8, 8, true);
        QVERIFY(ruler.moves.isEmpty());

        sizeBox().setFocus();
        QTRY_VERIFY(!memo().hasFocus());
        memo().SelectRange(9, 9, true);
        QVERIFY(!ruler.moves.isEmpty());
        QCOMPARE(ruler.moves.last(), (RulerIndentMarkers{80, 104, 366}));
        m_form->selectionTracker().setRuler(nullptr);
    }

    void positionPanel_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::addRow("start") << 0 << "L:  1 C:  1";
        QTest::addRow("second line") << 7 << "L:  2 C:  3";
    }

    void positionPanel() {
        QFETCH(int, position);
        QFETCH(QString, text);
        memo().SetText(QStringLiteral("abcd\nefgh"));
        memo().SelectRange(position, position, true);
        QCOMPARE(m_form->status().text(TStatusPanels::Pos), text);
        QCOMPARE(m_form->status().width(TStatusPanels::Pos), 7 * int(text.size()));
        QCOMPARE(TSelectionTracker::PositionText(1233, 99), QStringLiteral("L:1234 C:100"));
    }

    void undoAndRedoFollowTheHistory() {
        memo().SetText(QString());
        memo().setFocus();
        QVERIFY(!actions().UndoAction->isEnabled());
        QTest::keyClicks(&memo(), QStringLiteral("ab"));
        QVERIFY(actions().UndoAction->isEnabled());
        QVERIFY(!actions().RedoAction->isEnabled());
        actions().UndoAction->trigger();
        QVERIFY(actions().RedoAction->isEnabled());
        actions().RedoAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("ab"));
        QVERIFY(actions().UndoAction->isEnabled());
    }

    void colourCommandsShareOneDialog() {
        memo().SetText(QStringLiteral("abc"));
        memo().SelectRange(0, 3, false);
        m_prompts->answerColor(QColor(Qt::red));
        actions().FontColorAction->trigger();
        QCOMPARE(memo().SelAttributes().Color(), QColor(Qt::red));
        m_prompts->answerColor(std::nullopt);
        actions().BackColorAction->trigger();
        QVERIFY(!memo().SelAttributes().BackColor().isValid());
        m_prompts->answerColor(QColor(Qt::yellow));
        actions().BckgndAction->trigger();
        QCOMPARE(memo().BackgroundColor(), QColor(Qt::yellow));
        // Each dialog opened on the colour chosen last in any of them.
        const QList<ScriptedPrompts::Record> &records = m_prompts->records();
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[1].initial, QColor(Qt::red).name());
        QCOMPARE(records[2].initial, QColor(Qt::red).name());
        QCOMPARE(format().lastColor(), QColor(Qt::yellow));
    }

    void fontDialogAppliesFaceSizeAndStyle() {
        memo().SetText(QStringLiteral("abc"));
        memo().SelectRange(0, 3, false);
        QFont chosen(fontBox().itemText(0));
        chosen.setPointSize(17);
        chosen.setBold(true);
        m_prompts->answerFont(chosen);
        actions().FontAction->trigger();
        memo().SelectRange(0, 3, false);
        QCOMPARE(memo().SelAttributes().Size(), 17);
        QCOMPARE(memo().SelAttributes().Style(), Style(TRxTextAttributes::fsBold));
        m_prompts->answerFont(std::nullopt);
        actions().FontAction->trigger();
        QCOMPARE(memo().SelAttributes().Size(), 17);
    }

    void wordWrapKeepsTheSelection() {
        actions().MenuPlainText->trigger();
        QVERIFY(actions().WWAction->isEnabled());
        memo().SetText(QStringLiteral("some text here"));
        memo().SelectRange(5, 9, true);
        actions().WWAction->trigger();
        QVERIFY(memo().WordWrap());
        QVERIFY(actions().WWAction->isChecked());
        QCOMPARE(memo().ScrollBars(), TRxRichEdit::ssVertical);
        QCOMPARE(memo().SelStart(), 5);
        QCOMPARE(memo().SelLength(), 4);
        actions().WWAction->trigger();
        QVERIFY(!memo().WordWrap());
        QCOMPARE(memo().ScrollBars(), TRxRichEdit::ssBoth);
    }

    void styleLookups_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("numbering");
        QTest::addColumn<int>("underline");
        QTest::addRow("first items") << "nsBullet" << 1 << 1;
        QTest::addRow("last numbering") << "nsUpCaseRoman" << 6 << 1;
        QTest::addRow("wave") << "utWave" << 1 << 5;
        QTest::addRow("stored defaults differ in case") << "NsBullet" << 1 << 1;
        QTest::addRow("case counts") << "UTDOUBLE" << 1 << 1;
        QTest::addRow("empty") << "" << 1 << 1;
    }

    void styleLookups() {
        QFETCH(QString, text);
        QFETCH(int, numbering);
        QFETCH(int, underline);
        QCOMPARE(NSstyle(text), numbering);
        QCOMPARE(UScore(text), underline);
    }

    void styleDialogsWithMissingSettings() {
        // With the settings missing the window holds the stored defaults, which match no item.
        format().state().SetBulletsStyle(QStringLiteral("NsBullet"));
        format().state().SetUScoreType(QStringLiteral("UsSolid"));
        int numberingSelected = -2;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            numberingSelected = static_cast<TNumStyleForm &>(dialog).selectedIndex();
        });
        actions().NumberingStyle1->trigger();
        QCOMPARE(numberingSelected, 0);
        int underlineSelected = -2;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            underlineSelected = static_cast<TUScoreStyleForm &>(dialog).selectedIndex();
        });
        actions().UnderscoreStyle1->trigger();
        QCOMPARE(underlineSelected, -1);
        // Opening changed nothing: the texts stay the defaults and the codes are plain.
        QCOMPARE(format().state().BulletsStyle, QStringLiteral("NsBullet"));
        QCOMPARE(format().state().UScoreType, QStringLiteral("UsSolid"));
        QCOMPARE(format().state().BulletNumbering, 1);
        QCOMPARE(format().state().UnderlineKind, 1);
        QCOMPARE(m_prompts->records().at(0).caption, QStringLiteral("Numbering Style"));
        QCOMPARE(m_prompts->records().at(1).caption, QStringLiteral("Underscore"));
    }

    void styleChoiceTakesEffectOnClickEvenWhenClosedByTheCloseBox() {
        format().state().SetBulletsStyle(QStringLiteral("NsBullet"));
        // Rejected: the dialog was closed with its close box.
        m_prompts->answerDialog(
            false, [](QDialog &dialog) { static_cast<TNumStyleForm &>(dialog).item(5)->click(); });
        actions().NumberingStyle1->trigger();
        QCOMPARE(format().state().BulletsStyle, QStringLiteral("nsUpCaseRoman"));
        QCOMPARE(format().state().BulletNumbering, 6);
        memo().SetText(QStringLiteral("one\ntwo"));
        memo().SelectRange(0, 5, false);
        actions().BulletAction->trigger();
        QCOMPARE(memo().Paragraph().Numbering(), int(TRxParaAttributes::nsUpCaseRoman));

        m_prompts->answerDialog(true, [](QDialog &dialog) {
            auto &form = static_cast<TUScoreStyleForm &>(dialog);
            QCOMPARE(form.itemCount(), 5);
            form.item(4)->click();
        });
        actions().UnderscoreStyle1->trigger();
        QCOMPARE(format().state().UScoreType, QStringLiteral("utWave"));
        QCOMPARE(format().state().UnderlineKind, 5);

        // A new dialog opens on the remembered item.
        int selected = -2;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            selected = static_cast<TUScoreStyleForm &>(dialog).selectedIndex();
        });
        actions().UnderscoreStyle1->trigger();
        QCOMPARE(selected, 4);
    }

    void paragraphDialog_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("shownIndex");
        QTest::addColumn<QString>("lineSpacing");
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("spacing");
        QTest::addRow("justified shows Center, single spacing") << 3 << 2 << "0" << 0 << 0;
        QTest::addRow("right, at least 12") << 1 << 1 << "12" << 3 << 12;
        QTest::addRow("left, text that is no number reads 0") << 0 << 0 << "" << 0 << 0;
    }

    void paragraphDialog() {
        QFETCH(int, alignment);
        QFETCH(int, shownIndex);
        QFETCH(QString, lineSpacing);
        QFETCH(int, rule);
        QFETCH(int, spacing);
        memo().SetText(QStringLiteral("one\ntwo"));
        memo().SelectRange(0, 0, false);
        memo().Paragraph().SetAlignment(alignment);
        memo().Paragraph().SetLeftIndent(5);
        int shown = -2;
        m_prompts->answerDialog(true, [&](QDialog &dialog) {
            auto &form = static_cast<TParaFormatDlg &>(dialog);
            shown = form.alignmentIndex();
            QCOMPARE(form.LeftIndent->value(), 5);
            QVERIFY(form.SpacingBox->isEnabled());
            form.FirstIndent->setValue(-3);
            form.SpaceAfter->setValue(7);
            form.LineSpacing->findChild<QLineEdit *>()->setText(lineSpacing);
        });
        actions().FormatParaAttributes->trigger();
        QCOMPARE(shown, shownIndex);
        QCOMPARE(m_prompts->records().at(0).caption, QStringLiteral("Paragraph"));
        TRxParaAttributes paragraph = memo().Paragraph();
        // OK writes the shown index: a justified paragraph comes back centred.
        QCOMPARE(paragraph.Alignment(), shownIndex);
        QCOMPARE(paragraph.FirstIndent(), -3);
        QCOMPARE(paragraph.LeftIndent(), 5);
        QCOMPARE(paragraph.SpaceAfter(), 7);
        QCOMPARE(paragraph.LineSpacingRule(), rule);
        QCOMPARE(paragraph.LineSpacing(), spacing);
        // Only the selected paragraph changed.
        memo().SelectRange(5, 5, false);
        QCOMPARE(memo().Paragraph().SpaceAfter(), 0);
        // All of it is one undo step.
        actions().UndoAction->trigger();
        memo().SelectRange(0, 0, false);
        QCOMPARE(memo().Paragraph().FirstIndent(), 0);
        QCOMPARE(memo().Paragraph().SpaceAfter(), 0);
        QCOMPARE(memo().Paragraph().LeftIndent(), 5);
    }

    void paragraphDialogCancelChangesNothing() {
        memo().SetText(QStringLiteral("one"));
        memo().Paragraph().SetAlignment(TRxParaAttributes::taJustify);
        m_prompts->answerDialog(false, [](QDialog &dialog) {
            static_cast<TParaFormatDlg &>(dialog).FirstIndent->setValue(40);
        });
        actions().FormatParaAttributes->trigger();
        QCOMPARE(memo().Paragraph().Alignment(), int(TRxParaAttributes::taJustify));
        QCOMPARE(memo().Paragraph().FirstIndent(), 0);
    }

    void everyBoxAndButtonOfTheDialogsHasAnAccessibleName() {
        TFormatState state;
        TParaFormatDlg paragraph;
        TNumStyleForm numbering(state);
        TUScoreStyleForm underline(state);
        TPasteSpecialDlg pasteSpecial({QStringLiteral("Rich Text Format")});
        TObjectPropertiesDlg object(QSize(40, 30), QSize(80, 60));
        for (QWidget *dialog :
             {static_cast<QWidget *>(&paragraph), static_cast<QWidget *>(&numbering),
              static_cast<QWidget *>(&underline), static_cast<QWidget *>(&pasteSpecial),
              static_cast<QWidget *>(&object)}) {
            for (QWidget *child : dialog->findChildren<QWidget *>()) {
                if (qobject_cast<QAbstractSpinBox *>(child) ||
                    qobject_cast<QAbstractButton *>(child) || qobject_cast<QGroupBox *>(child) ||
                    qobject_cast<QAbstractItemView *>(child))
                    QVERIFY2(!child->accessibleName().isEmpty(),
                             qPrintable(child->metaObject()->className()));
            }
        }
    }
};

QUILLET_TEST_MAIN(tst_FormatCommands)
#include "tst_formatcommands.moc"
