#include "editor/frame/editoractions.h"

#include "platform/errorreport.h"

#include <QAction>
#include <QWidget>

namespace {
const char *const HintProperty = "quilletHint";
}

TEditorActions::TEditorActions(QWidget &window, Prompts &prompts)
    : QObject(&window)
    , m_window(window)
    , m_prompts(prompts) {
    NewAction = make(QStringLiteral("&New"), QStringLiteral("New|New Document"),
                     QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenAction = make(QStringLiteral("&Open"), QStringLiteral("Open|Open File"),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    OpenasTextonly1 =
        make(QStringLiteral("Open as Text"), QStringLiteral("|Open any File as plain Text"));
    SaveAction = make(QStringLiteral("&Save"), QStringLiteral("Save|Save File"),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAsAction = make(QStringLiteral("Save &As"), QStringLiteral("|Save File under a new Name"));
    mmopen1 = make(QStringLiteral("Import"),
                   QStringLiteral("Import Files| Import Office Files (doc, wri ...)"));
    mmsave1 =
        make(QStringLiteral("Export"), QStringLiteral("Export Files| Export ibasic RTF n HTML"));
    Send1 = make(QStringLiteral("Send Mail"),
                 QStringLiteral("Send Text in Mail| Send Plain Text in Mail"));
    PrinterSetup = make(QStringLiteral("Page Dialog"), QStringLiteral("|Page Margins and Printer"));
    PagePreview1 = make(QStringLiteral("Page Preview"), QStringLiteral("|Preview the Pages"));
    PrintAction = make(QStringLiteral("&Print"), QStringLiteral("Print|Print Document"),
                       QKeySequence(Qt::CTRL | Qt::Key_P));
    ExitAction = make(QStringLiteral("Exit"), QStringLiteral("Exit|Exit Quillet"),
                      QKeySequence(Qt::CTRL | Qt::Key_Q));
    FileSep2 = new QAction(this);
    FileSep2->setSeparator(true);
    FileSep2->setVisible(false);
    m_all.append(FileSep2);
    FileName1 = make(QStringLiteral("&1 name"));
    FileName2 = make(QStringLiteral("&2 name"));
    FileName3 = make(QStringLiteral("&3 name"));
    FileName4 = make(QStringLiteral("&4 name"));
    for (QAction *recent : {FileName1, FileName2, FileName3, FileName4})
        recent->setVisible(false);

    UndoAction = make(QStringLiteral("Undo"), QStringLiteral("Undo | Undo Limit 100 Keystrokes"));
    setToolHint(UndoAction, QStringLiteral("Undo|Undo last Action"));
    RedoAction = make(QStringLiteral("Redo"), QStringLiteral("Redo|Redo last Action"));
    CutAction = make(QStringLiteral("Cut"), QStringLiteral("Cut|Cut Text"),
                     QKeySequence(Qt::CTRL | Qt::Key_X));
    CopyAction = make(QStringLiteral("Copy"), QStringLiteral("Copy|Copy Text to Clipbard"),
                      QKeySequence(Qt::CTRL | Qt::Key_C));
    PasteAction = make(QStringLiteral("Paste"), QStringLiteral("Paste|Paste from Clipboard"),
                       QKeySequence(Qt::CTRL | Qt::Key_V));
    PasteSpecial =
        make(QStringLiteral("Paste Special"), QStringLiteral("|Paste in a chosen Format"));
    FindAction = make(QStringLiteral("&Find"), QStringLiteral("Find in Memo | Find in Memo"));
    FindNextAction = make(QStringLiteral("FindNext"), QStringLiteral("Find Next | Find Next"));
    ReplaceAction =
        make(QStringLiteral("Replace"), QStringLiteral("Replace Dialog | Replace Dialog"));
    SelectAllAction = make(QStringLiteral("SelectAll"), QStringLiteral("|Select the whole Text"),
                           QKeySequence(Qt::CTRL | Qt::Key_A));
    MenuLetterStyle =
        makeCheckable(QStringLiteral("Letter Style"), QStringLiteral("|Letter Style Typing"));
    WordCount1 = make(QStringLiteral("Word Count"),
                      QStringLiteral("Word Count | Count Words in Memo, Result in Status Bar"));
    StayTopAction = makeCheckable(QStringLiteral("Stay on Top"),
                                  QStringLiteral("Stay on Top|Keep the Window above all others"));

    FontAction = make(QStringLiteral("Font"), QStringLiteral("Font Dialog|Open Font Dialog"));
    LowerAction = make(QStringLiteral("Lowercase"), QStringLiteral("| Convert to Lowercase"));
    setToolHint(LowerAction, QStringLiteral("Lowercase|Convert to Lowercase"));
    UpperAction = make(QStringLiteral("Uppercase"), QStringLiteral("|Convert to Uppercase"));
    setToolHint(UpperAction, QStringLiteral("Uppercase|Convert to Uppercase"));
    FontColorAction =
        make(QStringLiteral("Font Color"), QStringLiteral("FontColor|Change Font Color"));
    BackColorAction =
        make(QStringLiteral("Front Back Color"), QStringLiteral("BackColor|Font Back Color"));
    BckgndAction = make(QStringLiteral("Back Color"), QStringLiteral("|Memo Back Color"));
    FormatParaAttributes = make(QStringLiteral("Paragraph Settings"),
                                QStringLiteral("|Text Width, Row Distances etc...."));
    NumberingStyle1 = make(QStringLiteral("Numbering Style"),
                           QStringLiteral("|Selecting Numbering Styles. Apply with Bullet Button"));
    UnderscoreStyle1 =
        make(QStringLiteral("Underscore Style"),
             QStringLiteral("|Selecting Underscore Styles. Apply with Underscore "
                            "Button (some styles are not supported in current dll)"));
    WWAction = makeCheckable(QStringLiteral("Word Wrap"),
                             QStringLiteral("Word Wrap | Word Wrap in Text Mode only"),
                             QKeySequence(Qt::CTRL | Qt::Key_W));

    ShowSplash1 = makeCheckable(QStringLiteral("No Splash Screen"));
    StartTV = makeCheckable(QStringLiteral("Don't start with textviewer"));
    NoListMenu = makeCheckable(QStringLiteral("No List"));
    FileListBoxMenu = makeCheckable(QStringLiteral("FileList Box"));
    FileListBoxMenu->setChecked(true);
    ListBoxMenu = makeCheckable(
        QStringLiteral("Term Box"),
        QStringLiteral("|Show List Box for Text Term reuse (RTF Mode) or Picture or HTML files in "
                       "Picture Mode. DblClck to apply"));
    m_radioGroups.append({NoListMenu, FileListBoxMenu, ListBoxMenu});
    MenuPlainText = makeCheckable(QStringLiteral("Text Modus"));
    MenuPlainRTF = makeCheckable(QStringLiteral("RTF Mode"));
    MenuPlainRTF->setChecked(true);
    // Never carries a check mark; in its mode "Text Modus" does.
    HTMLPictureMode1 = make(QStringLiteral("HTML & Picture Mode"));
    m_radioGroups.append({MenuPlainText, MenuPlainRTF, HTMLPictureMode1});

    ToolBarPicture1 =
        make(QStringLiteral("ToolBar Picture"), QStringLiteral("|Bitmap behind the Tool Bars"));
    AddTxtFileAction =
        make(QStringLiteral("Add Text File"),
             QStringLiteral("Insert Text File|Add Text File to the End of the File"));
    PageBreakAction = make(QStringLiteral("Insert Page Break"));
    PageBreakAction->setVisible(false);
    InsPicAction = make(QStringLiteral("Insert Picture"));
    N01011 = make(QStringLiteral("01.01"));
    Jan20002 = make(QStringLiteral("Jan 2000"));
    N0101011 = make(QStringLiteral("01.01.01"));
    N01Jan20001 = make(QStringLiteral("01.Jan.00"));
    N010120001 = make(QStringLiteral("01.01.2000"));
    Oct13th20011 = make(QStringLiteral("Oct 13th 2001"));
    Jan20001 = make(QStringLiteral("13.Oct.2001 "));
    January20001 = make(QStringLiteral("Sat 13 October 2001"));
    Mo1thJanuary20011 = make(QStringLiteral("Saturday 13 October 2001 "));
    InsTimeAction = make(QStringLiteral("Insert Time"),
                         QStringLiteral("Insert TIme|Insert Time to Cursor Position"));
    FileName5 = make(QStringLiteral("FileName"));
    FileName831 = make(QStringLiteral("FileName 8_3"));
    FilePath1 = make(QStringLiteral("FilePath"));
    FilePath831 = make(QStringLiteral("FilePath 8_3"));
    Object1 = make(QStringLiteral("Object"),
                   QStringLiteral("|Insert OLE Object e.g. Excel Sheet etc..."));
    ObjectProperties1 = make(QStringLiteral("ObjectProperties"));

    RunLocations1 = make(QStringLiteral("Run Locations"));
    OpencurrentfilewithEditor11 = make(QStringLiteral("Open current file with Editor1"));
    OpencurrentfilewithEditor1 = make(QStringLiteral("Open current file with Editor2"));
    Encrypt1 = make(QStringLiteral("Encrypt"));
    Decrypt1 = make(QStringLiteral("Decrypt"));
    SpellAction = make(QStringLiteral("Spell Check"), QStringLiteral("| Start Spell Checker"));
    setToolHint(SpellAction, QStringLiteral("Spell Check| Start Spell Checker"));

    HelpAbout = make(QStringLiteral("&About..."));
    HelpMenu = make(QStringLiteral("Help"));

    PoPCut = make(QStringLiteral("Cut"));
    PoPCopy = make(QStringLiteral("Copy"));
    PoPPaste = make(QStringLiteral("Paste"));
    PoPSelectAll = make(QStringLiteral("Select All"));
    AddToListBox1 = make(QStringLiteral("Add to Term Box"));
    DeleteListBoxEntry1 = make(QStringLiteral("Delete Term "));
    ClearallListMenu = make(QStringLiteral("Clear Text Term List"));
    ClearFileListBox1 = make(QStringLiteral("Clear File ListBox"));

    Last = make(QStringLiteral("LastFile"), QStringLiteral("Last|Last Picture or HTML Document"));
    Next = make(QStringLiteral("NextFile"), QStringLiteral("Next|Next Picture or HTML Document"));
    DateBut = make(QStringLiteral("Insert Date"),
                   QStringLiteral("Insert Date|Insert Date to cursor position"));
    BoldAction = makeCheckable(QStringLiteral("Bold"), QStringLiteral("Bold|Convert Text to Bold"));
    ItalicAction =
        makeCheckable(QStringLiteral("Italic"), QStringLiteral("Italic|Convert Text  to Italic"));
    UnderscoreAction = makeCheckable(QStringLiteral("Underscore"),
                                     QStringLiteral("Underscore|Convert to Underscore"));
    StrikeAction =
        makeCheckable(QStringLiteral("Strike Out"), QStringLiteral("Strike Out|Strike Out Text"));
    BulletAction = makeCheckable(QStringLiteral("Bullet"),
                                 QStringLiteral("Bullet|Set Bullet Style according to Selection"));
    LeftAction = makeCheckable(QStringLiteral("Left"), QStringLiteral("Left|Paragraph Left"));
    CenterAction =
        makeCheckable(QStringLiteral("Middle"), QStringLiteral("MIddle|Paragraph Middle"));
    RightAction = makeCheckable(QStringLiteral("Right"), QStringLiteral("Right|Paragraph Right"));
    JustifyAction =
        makeCheckable(QStringLiteral("Justify"), QStringLiteral("Justify|Paragraph Justify"));
    JustifyAction->setVisible(false);
    IncIndentAction =
        make(QStringLiteral("Increase Indent"), QStringLiteral("Increase Indent|Increase Indent"));
    DecIndentAction =
        make(QStringLiteral("Decrease Indent"), QStringLiteral("Decrease Indent|Decrease Indent"));
    SuperscriptAction =
        makeCheckable(QStringLiteral("Superscript"),
                      QStringLiteral("Superscript|Convert Selection to Superscript"));
    SubscriptAction = makeCheckable(QStringLiteral("Subscript"),
                                    QStringLiteral("Subscript|Convert Selection to Subscript"));
    ToolButton7 = make(QStringLiteral("Run Program 3"),
                       QStringLiteral("Run Program 3| Run Program No. 3 as linked via program "
                                      "locations"));
    ToolButton8 = make(QStringLiteral("Run Program 4"),
                       QStringLiteral("Run Program 4| Run Program No. 4 as linked via program "
                                      "locations"));
    CharMapAction = make(QStringLiteral("Run Program 5"),
                         QStringLiteral("Run Program 5| Run Program No. 5 as linked via program "
                                        "locations"));
    PaintAction = make(QStringLiteral("Run Program 6"),
                       QStringLiteral("Run Program 6| Run Program No. 6 as linked via program "
                                      "locations"));
}

QAction *TEditorActions::make(const QString &caption, const QString &hint,
                              const QKeySequence &shortcut) {
    auto *action = new QAction(caption, this);
    action->setProperty(HintProperty, hint);
    if (!hint.isEmpty()) {
        action->setToolTip(shortHint(hint));
        action->setStatusTip(longHint(hint));
    }
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    // Nothing is usable before the concern that implements it routes it.
    action->setEnabled(false);
    m_state.insert(action, State{});
    m_all.append(action);
    return action;
}

QAction *TEditorActions::makeCheckable(const QString &caption, const QString &hint,
                                       const QKeySequence &shortcut) {
    QAction *action = make(caption, hint, shortcut);
    action->setCheckable(true);
    // Connected before any handler, so handlers see the mark as it was before the click.
    connect(action, &QAction::triggered, action,
            [action](bool checked) { action->setChecked(!checked); });
    return action;
}

void TEditorActions::routeTo(QAction *action, QObject *receiver, std::function<void()> call) {
    connect(action, &QAction::triggered, receiver ? receiver : action,
            [this, call = std::move(call)] { ErrorReport::run(m_prompts, &m_window, call); });
    m_state[action].routed = true;
    applyEnabled(action);
}

void TEditorActions::setToolHint(QAction *action, const QString &hint) {
    m_toolHints.insert(action, hint);
    // Tool tips only show on tool buttons, so the button's hint wins.
    action->setToolTip(shortHint(hint));
}

bool TEditorActions::isRouted(QAction *action) const {
    return m_state.value(action).routed;
}

void TEditorActions::setAllowed(QAction *action, bool allowed) {
    m_state[action].allowed = allowed;
    applyEnabled(action);
}

bool TEditorActions::isAllowed(QAction *action) const {
    return m_state.value(action).allowed;
}

void TEditorActions::applyEnabled(QAction *action) {
    const State state = m_state.value(action);
    action->setEnabled(state.allowed && state.routed);
}

void TEditorActions::checkRadio(QAction *action) {
    for (const QList<QAction *> &group : m_radioGroups) {
        if (!group.contains(action))
            continue;
        for (QAction *member : group)
            member->setChecked(member == action);
    }
}

QString TEditorActions::toolHint(QAction *action) const {
    return m_toolHints.value(action, hint(action));
}

QString TEditorActions::hint(const QAction *action) {
    return action->property(HintProperty).toString();
}

QString TEditorActions::shortHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return (bar < 0 ? hint : hint.left(bar)).trimmed();
}

QString TEditorActions::longHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}
