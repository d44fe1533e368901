#include "editor/document/documentstate.h"

#include "editor/frame/statuspanels.h"

#include <QWidget>

const QString TDocumentState::Untitled = QStringLiteral("Untitled");
const QString TDocumentState::ApplicationTitle = QStringLiteral("Quillet Vado");

TDocumentState::TDocumentState(QWidget &window, TStatusPanels &status)
    : m_window(window)
    , m_status(status) {}

void TDocumentState::SetDocumentName(const QString &name) {
    DocumentName = name;
    DocumentFolder = folderPart(name);
    OpenDialog.InitialDir = DocumentFolder;
    OpenPictureDialog.InitialDir = DocumentFolder;
    SaveDialog.InitialDir = DocumentFolder;
    m_window.setWindowTitle(QStringLiteral("%1 - %2").arg(namePart(name), ApplicationTitle));
    m_status.setTextSized(TStatusPanels::Location, name);
}

QString TDocumentState::namePart(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString TDocumentState::folderPart(const QString &path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}
