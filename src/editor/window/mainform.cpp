#include "editor/window/mainform.h"

#include "convert/isolatedconverters.h"
#include "editor/convert/convertcommands.h"
#include "editor/document/documentstate.h"
#include "editor/document/editlayout.h"
#include "editor/document/editormodes.h"
#include "editor/edit/editcommands.h"
#include "editor/file/filecommands.h"
#include "editor/file/filekind.h"
#include "editor/format/formatcommands.h"
#include "editor/format/selectiontracker.h"
#include "editor/frame/coolbar.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/frame/statuspanels.h"
#include "editor/frame/toolbars.h"
#include "editor/htmlview/htmlview.h"
#include "editor/insert/insertcommands.h"
#include "editor/journal/documentjournal.h"
#include "editor/journal/journalrestore.h"
#include "editor/print/printcommands.h"
#include "editor/ruler/richprintermargins.h"
#include "editor/ruler/rulerbinding.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/sidepanel.h"
#include "editor/sidepanel/sidepanelwindowhost.h"
#include "editor/sidepanel/termfile.h"
#include "editor/sidepanel/termlistbox.h"
#include "editor/texttools/texttoolsconcern.h"
#include "editor/tools/toolscommands.h"
#include "editor/window/windowoptions.h"
#include "editor/window/windowsettings.h"
#include "platform/errorreport.h"
#include "platform/installpaths.h"
#include "platform/namedmutex.h"
#include "platform/prompts.h"
#include "platform/settingsstore.h"
#include "platform/shell.h"
#include "platform/usererror.h"
#include "print/richprinter.h"
#include "richtext/rxrichedit.h"
#include "ruler/tanlruler.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusTipEvent>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

namespace {
constexpr QSize DesignSize(829, 494);
constexpr QSize MinimumSize(500, 300);
constexpr int RulerPanelHeight = 27;
constexpr int ListPanelWidth = 185;
constexpr int SplitterWidth = 2;
constexpr int FontItemHeight = 19;
constexpr int SplashPause = 300;

QWidget *panel(QWidget *parent, const char *name, const QString &accessibleName) {
    auto *widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}
} // namespace

TMainForm::TMainForm(MainFormContext context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(std::move(context)) {
    if (!m_context.wait)
        m_context.wait = [](int milliseconds) { QThread::msleep(milliseconds); };
    setObjectName(QStringLiteral("MainForm"));
    buildForm();
    m_richPrinter1 = new TRichPrinter(nullptr, &m_context.settings, &m_context.prompts, this);
    m_richPrinter1->setDialogParent(this);
    m_richPrinter1->UseEditorSettings();

    m_document = std::make_unique<TDocumentState>(*this, *m_status);
    m_layout = std::make_unique<TEditLayout>(*m_memo, m_mode);
    m_modes = new TEditorModes(
        EditorModesContext{*this, m_mode, *m_actions, *m_menus, *m_toolBars, *m_memo, *m_htmlLite1,
                           *m_editPanel, *m_rulerPanel, *m_listBoxT, *m_layout, m_context.prompts},
        this);
    m_windowOptions =
        new TWindowOptions(WindowOptionsContext{*this, *m_toolBars->CoolBar1, *m_actions,
                                                m_document->OpenPictureDialog, m_context.prompts},
                           this);
    new TTextToolsConcern(TextToolsConcernContext{*this, *m_actions, *m_memo, *m_status,
                                                  *m_toolBars->FontSizeBox, m_context.prompts},
                          this);
    m_fileCommands = new TFileCommands(
        FileCommandsContext{*this, m_mode, *m_actions, *m_modes, *m_memo, *m_htmlLite1, *m_document,
                            *m_status, m_context.prompts, m_context.shell, StartedWithFile,
                            Closing},
        this);
    m_settings = new TWindowSettings(
        WindowSettingsContext{*this, *m_actions, *m_memo, *m_toolBars, *m_windowOptions,
                              *m_fileCommands, NoSplash, m_context.settings, m_context.claimMutex},
        this);
    m_sidePanelHost = std::make_unique<TSidePanelWindowHost>(*m_document, *m_memo, m_mode);
    const QString programFolder = m_context.programFolder.isEmpty()
                                      ? QCoreApplication::applicationDirPath()
                                      : m_context.programFolder;
    m_sidePanel = new TSidePanel(
        SidePanelContext{
            *m_sidePanelHost, m_context.prompts, *this, *m_actions, *m_menus->PopupMenu1,
            *m_splitter1, *m_listPanel, *m_listBoxF, *m_listBoxT,
            TermFile::readPath(InstallPaths::ownFilesFolder(programFolder), TermFile::dataHome(),
                               InstallPaths::dataFolder(programFolder)),
            TermFile::writePath(InstallPaths::ownFilesFolder(programFolder), TermFile::dataHome())},
        this);
    m_sidePanelHost->AskSaveChanges = [this] { return m_fileCommands->AskSaveChanges(); };
    m_sidePanelHost->OpenFile = [this](const QString &name) { m_fileCommands->OpenFile(name); };
    m_fileCommands->ShowDocumentFolder = [this] { m_sidePanel->ShowDocumentFolder(); };
    m_fileCommands->SyncFileListSelection = [this] { m_sidePanel->SyncFileListSelection(); };
    m_settings->ListBoxStatus = [this] { return m_sidePanel->ListBoxStatus(); };
    m_settings->ApplyListBoxStatus = [this](int status) {
        m_sidePanel->ApplyListBoxStatus(status);
    };
    // Links in a page: web and mail addresses go to the desktop; pages and pictures open as if
    // chosen, except pictures the loader would take for text, which the viewer shows itself.
    m_htmlLite1->setExternalLinkHandler([this](const QUrl &url) { m_context.shell.openUrl(url); });
    m_htmlLite1->setLocalLinkHandler([this](const QString &path) {
        const FileKind kind = DecideFileKind(path);
        if (kind == FileKind::Page || kind == FileKind::Picture)
            m_fileCommands->OpenFile(path);
        else
            m_htmlLite1->loadPicture(path);
    });
    m_formatCommands = new TFormatCommands(
        FormatCommandsContext{*this, *m_memo, *m_actions, *m_toolBars->FontCombo,
                              *m_toolBars->FontSizeBox, m_context.prompts},
        this);
    m_selectionTracker =
        new TSelectionTracker(SelectionTrackerContext{*m_memo, *m_actions, *m_toolBars->FontCombo,
                                                      *m_toolBars->FontSizeBox, *m_status,
                                                      m_formatCommands->state(), m_mode},
                              this);
    m_editCommands =
        new TEditCommands(EditCommandsContext{*this, *m_memo, *m_htmlLite1, m_mode, *m_actions,
                                              *m_document, m_context.prompts, m_context.shell},
                          this);
    // The settings keep the style names and the boxes' texts; the format commands use and
    // change them.
    connect(m_settings, &TWindowSettings::stylesRead, m_formatCommands, [this] {
        m_formatCommands->state().SetBulletsStyle(m_settings->Bulletsstyle);
        m_formatCommands->state().SetUScoreType(m_settings->UScoreType);
    });
    connect(m_formatCommands, &TFormatCommands::stylesChanged, m_settings, [this] {
        m_settings->Bulletsstyle = m_formatCommands->state().BulletsStyle;
        m_settings->UScoreType = m_formatCommands->state().UScoreType;
    });
    connect(m_formatCommands, &TFormatCommands::fontStyleChanged, m_settings,
            [this](const QString &name) { m_settings->FontStyle = name; });
    connect(m_formatCommands, &TFormatCommands::fontSizeChanged, m_settings,
            [this](const QString &text) { m_settings->FontSize = text; });
    m_insertCommands = new TInsertCommands(
        InsertCommandsContext{*this, *m_memo, m_mode, *m_actions, *m_document, m_context.prompts},
        this);
    m_toolsCommands =
        new TToolsCommands(ToolsCommandsContext{*this, *m_actions, *m_memo, *m_document, *m_modes,
                                                *m_fileCommands, m_context.prompts, m_context.shell,
                                                m_context.settings, m_context.help, StartFolder},
                           this);
    m_documentJournal = new TDocumentJournal(
        DocumentJournalContext{*m_memo, *m_document, *m_status, m_context.claimMutex}, this);
    m_journalRestore = new TJournalRestore(
        JournalRestoreContext{*this, m_mode, *m_actions, *m_modes, *m_memo, *m_document,
                              *m_fileCommands, *m_documentJournal, m_context.prompts,
                              m_context.shell, m_context.claimMutex, m_fileCommands->ProgramPath},
        this);
    m_printCommands = new TPrintCommands(
        PrintCommandsContext{*this, *m_memo, *m_richPrinter1, *m_actions, m_context.prompts}, this);
    // Converters run in a helper process, so that a faulty one cannot take the document with it.
    m_converters = std::make_unique<Convert::IsolatedConverters>(
        m_context.converterHost.isEmpty()
            ? QCoreApplication::applicationDirPath() + QStringLiteral("/quillet-converter-host")
            : m_context.converterHost,
        [this](const QString &text) {
            m_context.prompts.message(this, QGuiApplication::applicationDisplayName(), text,
                                      QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
        });
    m_convertCommands = new TConvertCommands(
        ConvertCommandsContext{*this, *m_memo, *m_actions, *m_document, *m_status,
                               m_context.prompts, *m_converters, SettingsStore::machineStorePath(),
                               [this] { return m_fileCommands->AskSaveChanges(); }},
        this);
    m_pageMargins = std::make_unique<RichPrinterMargins>(*m_richPrinter1);
    m_rulerBinding = new TRulerBinding(
        RulerBindingContext{*m_ruler1, *m_memo, *m_layout, *m_actions, *m_pageMargins}, this);
    m_selectionTracker->setRuler(m_rulerBinding);
    m_printCommands->SetMargin = [this] { m_rulerBinding->SetMargin(); };

    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::buildForm() {
    resize(DesignSize);
    setMinimumSize(MinimumSize);
    if (QScreen *desktop = screen()) {
        QRect bounds(QPoint(), DesignSize);
        bounds.moveCenter(desktop->availableGeometry().center());
        move(bounds.topLeft());
    }

    m_actions = new TEditorActions(*this, m_context.prompts);
    // Shortcuts work wherever the focus is in the window, whichever menu holds the command.
    addActions(m_actions->all());
    m_menus = std::make_unique<TMainMenu>(*this, *m_actions);
    setMenuBar(m_menus->MainMenu);
    m_toolBars = std::make_unique<TToolBars>(*this, *m_actions);
    m_status = std::make_unique<TStatusPanels>(*this);
    setStatusBar(m_status->StatusBar);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto *clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    clientLayout->addWidget(m_toolBars->CoolBar1);

    m_panel1 = panel(client, "Panel1", QStringLiteral("Document"));
    clientLayout->addWidget(m_panel1, 1);
    auto *panel1Layout = new QVBoxLayout(m_panel1);
    panel1Layout->setContentsMargins(0, 0, 0, 0);
    panel1Layout->setSpacing(0);

    m_rulerPanel = panel(m_panel1, "RulerPanel", QStringLiteral("Ruler"));
    m_rulerPanel->setFixedHeight(RulerPanelHeight);
    // Placed, not laid out: a ruler wider than the window is cut off at the panel's edge instead
    // of widening the window.
    m_ruler1 = TRulerBinding::createRuler1(*m_rulerPanel);
    panel1Layout->addWidget(m_rulerPanel);

    m_groupPanel = panel(m_panel1, "GroupPanel", QStringLiteral("Editor and Side Panel"));
    panel1Layout->addWidget(m_groupPanel, 1);
    auto *groupLayout = new QHBoxLayout(m_groupPanel);
    groupLayout->setContentsMargins(0, 0, 0, 0);
    m_splitter1 = new QSplitter(Qt::Horizontal, m_groupPanel);
    m_splitter1->setObjectName(QStringLiteral("Splitter1"));
    m_splitter1->setAccessibleName(QStringLiteral("Side Panel Splitter"));
    m_splitter1->setHandleWidth(SplitterWidth);
    m_splitter1->setChildrenCollapsible(false);
    groupLayout->addWidget(m_splitter1);

    m_editPanel = new QStackedWidget(m_splitter1);
    m_editPanel->setObjectName(QStringLiteral("EditPanel"));
    m_editPanel->setAccessibleName(QStringLiteral("Editing Area"));
    m_memo = new TRxRichEdit(m_editPanel);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setAccessibleName(QStringLiteral("Text"));
    m_memo->SetWordWrap(false);
    m_memo->setTabChangesFocus(false);
    m_memo->SetHideSelection(false);
    m_memo->SetUndoLimit(100);
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    m_memo->SetPopupMenu(m_menus->PopupMenu1);
    m_memo->installEventFilter(this);
    connect(m_memo, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_menus->PopupMenu1->popup(m_memo->viewport()->mapToGlobal(at));
    });
    m_htmlLite1 = new HtmlView(m_editPanel);
    m_htmlLite1->setObjectName(QStringLiteral("htmlLite1"));
    m_htmlLite1->setAccessibleName(QStringLiteral("HTML and Picture Viewer"));
    m_editPanel->addWidget(m_memo);
    m_editPanel->addWidget(m_htmlLite1);
    m_splitter1->addWidget(m_editPanel);

    m_listPanel = panel(m_splitter1, "ListPanel", QStringLiteral("Side Panel"));
    auto *listLayout = new QGridLayout(m_listPanel);
    listLayout->setContentsMargins(0, 0, 0, 0);
    m_listBoxF = new FileListBox(m_listPanel);
    m_listBoxF->setObjectName(QStringLiteral("ListBoxF"));
    m_listBoxF->setAccessibleName(QStringLiteral("File List"));
    m_listBoxT = new TermListBox(m_listPanel);
    m_listBoxT->setObjectName(QStringLiteral("ListBoxT"));
    m_listBoxT->setAccessibleName(QStringLiteral("Text Term Box"));
    m_listBoxT->setToolTip(QStringLiteral("Text Term Box"));
    m_listBoxT->setStatusTip(QStringLiteral(" DblClk to bring copy you Text Term to the Memo"));
    m_listBoxT->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listBoxT, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_menus->PopupMenu1->popup(m_listBoxT->viewport()->mapToGlobal(at));
    });
    m_listBoxT->hide();
    // Both lists fill the side panel, one over the other.
    listLayout->addWidget(m_listBoxF, 0, 0);
    listLayout->addWidget(m_listBoxT, 0, 0);
    m_splitter1->addWidget(m_listPanel);
    m_splitter1->setStretchFactor(0, 1);
    m_splitter1->setStretchFactor(1, 0);
    m_splitter1->setSizes({DesignSize.width() - ListPanelWidth - SplitterWidth, ListPanelWidth});

    setCentralWidget(client);
}

template <class Step>
void TMainForm::creationStep(Step step) {
    try {
        step();
    } catch (const UserError &error) {
        m_creationErrors.append(error.text());
    } catch (const std::exception &error) {
        m_creationErrors.append(QString::fromLocal8Bit(error.what()));
    }
}

void TMainForm::FormCreate() {
    creationStep([this] { m_toolsCommands->LoadRunLocations(true); });
    creationStep([this] { m_modes->StartInRTFMode(); });
    creationStep([this] {
        if (m_context.commandLineFile.isEmpty()) {
            m_document->SetDocumentName(TDocumentState::Untitled);
            return;
        }
        StartedWithFile = true;
        m_document->SetDocumentName(m_context.commandLineFile);
        m_fileCommands->OpenFile(m_context.commandLineFile);
    });
    creationStep([this] { m_sidePanel->SetFileListFolder(StartFolder); });
    creationStep([this] {
        m_document->OpenDialog.InitialDir = StartFolder;
        m_document->OpenPictureDialog.InitialDir = StartFolder;
        m_document->SaveDialog.InitialDir = StartFolder;
    });
    creationStep([this] {
        m_status->setText(TStatusPanels::Date,
                          QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        // Some locales write the short date longer than the panel's design width.
        m_status->widenToText(TStatusPanels::Date);
    });
    creationStep([this] {
        const int start = m_memo->SelStart();
        const int length = m_memo->SelLength();
        m_memo->SelectRange(start - length, start - length + 1, true);
    });
    creationStep([this] { m_fileCommands->OpenAsText = false; });
    // After the font box is filled, so that it shows the stored font.
    creationStep([this] { fillFontBox(); });
    creationStep([this] { m_settings->ReadSettings(); });
    // A data file named on the command line stays protected against saving over it.
    creationStep([this] {
        if (!StartedWithFile)
            m_document->DataFile = false;
    });
    creationStep([this] {
        // The start-up claimed this name already, so with the splash shown the window always
        // waits and the splash stays up a moment.
        if (!NoSplash &&
            m_context.claimMutex(QStringLiteral("Quillet")) == NamedMutex::Claim::AlreadyExisted)
            m_context.wait(SplashPause);
    });
    // The splash goes whatever failed before; its own errors do not matter to the editor.
    try {
        if (m_context.hideSplash)
            m_context.hideSplash();
    } catch (...) {
    }
    creationStep([this] { m_rulerBinding->SetupRuler(); });
    creationStep([this] { m_sidePanel->LoadTerms(); });
    creationStep([this] { m_ruler1->SetRichedit(m_memo); });
    creationStep([this] {
        const QString picture = m_windowOptions->ToolBarPic;
        if (!picture.isEmpty() && QFileInfo(picture).isFile())
            m_windowOptions->LoadToolBarPicture(picture);
    });
    creationStep([this] { m_rulerBinding->SetMargin(); });
    creationStep([this] {
        if (m_memo->isEnabled())
            m_memo->setFocus();
    });
    creationStep([this] { m_listBoxT->raise(); });
    creationStep([this] { m_memo->SetModified(false); });

    for (const QString &error : std::as_const(m_creationErrors))
        ShowError(error);
    m_creationErrors.clear();
}

void TMainForm::FormDestroy() {
    // A term file that cannot be written is reported, and the settings are written all the same.
    m_sidePanel->SaveTermsAtClose();
    // A settings store that refuses the values is reported; the rest of the shutdown goes on.
    ErrorReport::run(m_context.prompts, this, [this] { m_settings->WriteSettings(); });
}

void TMainForm::fillFontBox() {
    QComboBox *box = m_toolBars->FontCombo;
    box->clear();
    // Where two foundries make a family, the font database names both as "Family [foundry]";
    // the box lists each family once, by the name documents use.
    static const QRegularExpression foundry(QStringLiteral(" \\[[^\\]]*\\]$"));
    QStringList families;
    QSet<QString> seen;
    for (QString family : QFontDatabase::families()) {
        family.remove(foundry);
        if (!seen.contains(family.toLower())) {
            seen.insert(family.toLower());
            families.append(family);
        }
    }
    // Filling would otherwise show the first family; the box keeps naming the face at the caret.
    const QString shown = box->currentText();
    box->addItems(families);
    for (int i = 0; i < box->count(); ++i)
        box->setItemData(i, QSize(0, FontItemHeight), Qt::SizeHintRole);
    const int index = box->findText(shown, Qt::MatchFixedString);
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(shown);
}

TRxTextAttributes TMainForm::CurrText() const {
    return m_memo->SelAttributes();
}

void TMainForm::ShowError(const QString &text) {
    ErrorReport::show(m_context.prompts, this, text);
}

bool TMainForm::event(QEvent *event) {
    // Hints go to the "Help" panel instead of replacing the panels with a temporary message.
    if (event->type() == QEvent::StatusTip) {
        m_status->setText(TStatusPanels::Help, static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event) {
    // The editing area changes size with the window and with the splitter; its layout follows.
    if (watched == m_memo && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormResize() {
    if (Closing || !m_layout)
        return;
    // A layout change never marks the document as changed.
    const bool modified = m_memo->Modified();
    m_layout->SetEditRect();
    m_memo->SetModified(modified);
}
