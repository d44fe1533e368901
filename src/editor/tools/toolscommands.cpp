#include "editor/tools/toolscommands.h"

#include "editor/document/documentstate.h"
#include "editor/document/editormodes.h"
#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "platform/helpviewer.h"
#include "platform/prompts.h"
#include "platform/savefile.h"
#include "platform/shell.h"
#include "richtext/rxrichedit.h"
#include "tools/fileicon.h"
#include "tools/mailrequest.h"
#include "tools/run_app_location.h"
#include "tools/sendmail.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QUrl>

const QString TToolsCommands::Copyright = QStringLiteral("2026 Fernlake");

namespace {

// The credits of the about box.
QStringList creditsText() {
    return {QStringLiteral("Quillet is an editor"),
            QStringLiteral("for text and RTF files"),
            QStringLiteral("with a viewer for pictures and HTML files."),
            QString(),
            QStringLiteral("Browse your folders"),
            QStringLiteral("with the file list box"),
            QStringLiteral("and open a file with a double click."),
            QStringLiteral("A spell checker, an encryptor,"),
            QStringLiteral("a mailer and many further functions"),
            QStringLiteral("are built into Quillet."),
            QString(),
            QStringLiteral("If you like Quillet, please rate it"),
            QStringLiteral("at the site where you"),
            QStringLiteral("downloaded it."),
            QString(),
            QStringLiteral("Thanks")};
}

} // namespace

TToolsCommands::TToolsCommands(ToolsCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_runLocations(context.shell, context.prompts, context.window)
    , m_aboutBoxDlg1(new TAboutBoxDlg(context.prompts, context.shell, this)) {
    m_aboutBoxDlg1->setObjectName(QStringLiteral("AboutBoxDlg1"));
    m_aboutBoxDlg1->SetMovieSpeed(40);
    m_aboutBoxDlg1->BackCol = QColor(0, 0, 128);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(12);
    m_aboutBoxDlg1->AFont = font;
    m_aboutBoxDlg1->AFontColor = Qt::white;
    m_aboutBoxDlg1->aShadow = true;
    m_aboutBoxDlg1->MovieText = creditsText();

    TEditorActions &a = m_context.actions;
    a.route(a.RunLocations1, this, &TToolsCommands::RunLocations1Click);
    a.route(a.OpencurrentfilewithEditor11, this, &TToolsCommands::OpencurrentfilewithEditor11Click);
    a.route(a.OpencurrentfilewithEditor1, this, &TToolsCommands::OpencurrentfilewithEditor1Click);
    a.route(a.ToolButton7, this, &TToolsCommands::ToolButton7Click);
    a.route(a.ToolButton8, this, &TToolsCommands::ToolButton8Click);
    a.route(a.PaintAction, this, &TToolsCommands::PaintActionExecute);
    a.route(a.CharMapAction, this, &TToolsCommands::CharMapActionExecute);
    a.route(a.Send1, this, &TToolsCommands::Send1Click);
    a.route(a.HelpAbout, this, &TToolsCommands::HelpAboutClick);
    a.route(a.HelpMenu, this, &TToolsCommands::HelpMenuClick);
}

QAction *TToolsCommands::commandOfSlot(int slot) const {
    TEditorActions &a = m_context.actions;
    // The last two buttons are crossed: "Run Program 6" starts location 5 and shows its icon.
    switch (slot - FirstRunSlot + 1) {
    case 1:
        return a.OpencurrentfilewithEditor11;
    case 2:
        return a.OpencurrentfilewithEditor1;
    case 3:
        return a.ToolButton7;
    case 4:
        return a.ToolButton8;
    case 5:
        return a.PaintAction;
    case 6:
        return a.CharMapAction;
    default:
        return nullptr;
    }
}

void TToolsCommands::LoadRunLocations(bool withIcons) {
    m_runLocations.Load(m_context.settings);
    m_context.StartFolder = m_runLocations.StartFolder;
    if (!withIcons)
        return;
    if (TRunLocations::Exists(m_runLocations.Location(1)))
        SetToolbarIcon(m_runLocations.Location(1), FirstRunSlot);
    for (int n = 2; n <= TRunLocations::Count; ++n)
        SetToolbarIcon(m_runLocations.Location(n), FirstRunSlot + n - 1);
}

void TToolsCommands::SetToolbarIcon(const QString &path, int slot) {
    QAction *command = commandOfSlot(slot);
    if (path.isEmpty() || !command)
        return;
    const QIcon icon = FileIcon::forFile(path);
    if (!icon.isNull())
        command->setIcon(icon);
}

bool TToolsCommands::documentIsUntitled() const {
    return m_context.document.DocumentName == TDocumentState::Untitled;
}

void TToolsCommands::RunLocations1Click() {
    TRun_App_Location dialog(m_context.settings, m_context.prompts, &m_context.window);
    m_context.prompts.exec(dialog);
    LoadRunLocations(false);
}

void TToolsCommands::OpencurrentfilewithEditor11Click() {
    m_runLocations.StartEditor(1, m_context.document.DocumentName, documentIsUntitled());
}

void TToolsCommands::OpencurrentfilewithEditor1Click() {
    m_runLocations.StartEditor(2, m_context.document.DocumentName, documentIsUntitled());
}

void TToolsCommands::ToolButton7Click() {
    m_runLocations.StartProgram(3);
}

void TToolsCommands::ToolButton8Click() {
    m_runLocations.StartProgram(4);
}

void TToolsCommands::PaintActionExecute() {
    m_runLocations.StartProgram(5);
}

void TToolsCommands::CharMapActionExecute() {
    m_runLocations.StartProgram(6);
}

void TToolsCommands::Send1Click() {
    if (MailRequest::SendsAsAttachment(m_context.document.DocumentName,
                                       m_context.modes.HasFormatting())) {
        // The stored file is what gets attached: changes not saved yet would be missing.
        if (m_context.Memo.Modified()) {
            const auto answer = m_context.prompts.message(
                &m_context.window, QGuiApplication::applicationDisplayName(),
                QStringLiteral("The document has changes that are not saved. The mail takes the "
                               "file as it is stored.\nSave the changes before sending?"),
                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::Yes);
            if (answer == QMessageBox::Cancel)
                return;
            if (answer == QMessageBox::Yes && !m_context.fileCommands.Save())
                return;
        }
        sendAttachment(m_context.document.DocumentName);
        return;
    }

    const QString text = m_context.Memo.Text();
    if (MailRequest::EncodedBody(text).size() > MailRequest::MaximumBody) {
        sendTextAsAttachment(text);
        return;
    }
    if (!m_context.shell.openUrl(QUrl::fromEncoded(MailRequest::Mailto(text))))
        m_context.prompts.error(&m_context.window, QGuiApplication::applicationDisplayName(),
                                QStringLiteral("An Error occurred with Mail!"));
}

bool TToolsCommands::sendTextAsAttachment(const QString &text) {
    if (!m_mailFolder)
        m_mailFolder = std::make_unique<QTemporaryDir>();
    const QString caption = QGuiApplication::applicationDisplayName();
    QString base = documentIsUntitled()
                       ? TDocumentState::Untitled
                       : QFileInfo(m_context.document.DocumentName).completeBaseName();
    if (base.isEmpty())
        base = TDocumentState::Untitled;
    const QString path =
        m_mailFolder->isValid() ? m_mailFolder->filePath(base + QStringLiteral(".txt")) : QString();
    const auto failure = path.isEmpty() ? std::optional<QString>(m_mailFolder->errorString())
                                        : saveFileAtomically(path, text.toUtf8());
    if (failure) {
        m_context.prompts.error(&m_context.window, caption,
                                QStringLiteral("The text could not be prepared for the mail: ") +
                                    *failure);
        return false;
    }
    m_context.prompts.information(
        &m_context.window, caption,
        QStringLiteral("The text is too long for the body of a mail. It is sent as the attached "
                       "file ") +
            QFileInfo(path).fileName() + QStringLiteral(" instead."));
    sendAttachment(path);
    return true;
}

void TToolsCommands::sendAttachment(const QString &path) {
    const QString &to = MailRequest::PlaceholderAddress;
    TSendMail mail(m_context.prompts, &m_context.window);
    mail.SendMail(MailRequest::Subject, MailRequest::NoteText, true, path, path, to, to, to, to);
}

void TToolsCommands::HelpAboutClick() {
    m_aboutBoxDlg1->UseMovie = true;
    m_aboutBoxDlg1->ProductName = QStringLiteral("Quillet");
    m_aboutBoxDlg1->Copyright = Copyright;
    m_aboutBoxDlg1->Execute(&m_context.window);
}

void TToolsCommands::HelpMenuClick() {
    HelpViewer &help = m_context.help;
    if (help.helpFile().isEmpty())
        help.setHelpFile(HelpViewer::defaultHelpFile());
    if (!help.showContents())
        m_context.prompts.error(&m_context.window, QGuiApplication::applicationDisplayName(),
                                QStringLiteral("The help page ") + help.helpFile() +
                                    QStringLiteral(" could not be opened."));
}
