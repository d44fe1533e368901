#include "editor/window/windowoptions.h"

#include "editor/file/filedialog.h"
#include "editor/frame/coolbar.h"
#include "editor/frame/editoractions.h"
#include "picture/picturedecoder.h"
#include "platform/prompts.h"
#include "platform/usererror.h"

#include <QAction>
#include <QPixmap>
#include <QWidget>

TWindowOptions::TWindowOptions(WindowOptionsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.ToolBarPicture1, this, &TWindowOptions::ToolBarPicture1Click);
    a.route(a.StayTopAction, this, &TWindowOptions::StayTopActionExecute);
}

void TWindowOptions::LoadToolBarPicture(const QString &path) {
    const QImage image = PictureDecoder::decodeFile(path);
    if (image.isNull())
        throw UserError(QStringLiteral("Bitmap image is not valid"));
    m_context.CoolBar1.setBackgroundBitmap(QPixmap::fromImage(image));
}

void TWindowOptions::ToolBarPicture1Click() {
    // The filter stays for later uses of the picture dialog.
    m_context.OpenPictureDialog.Filter =
        qtFileFilters(QStringLiteral("Windows Bitmaps (*.bmp)|*.BMP|"));
    m_context.OpenPictureDialog.FilterIndex = 1;
    int filterIndex = m_context.OpenPictureDialog.FilterIndex - 1;
    const QStringList chosen = m_context.prompts.openFileNames(
        &m_context.window, QStringLiteral("Open"), m_context.OpenPictureDialog.InitialDir,
        m_context.OpenPictureDialog.Filter, &filterIndex, false);
    if (chosen.isEmpty())
        return;
    LoadToolBarPicture(chosen.first());
    ToolBarPic = chosen.first();
}

void TWindowOptions::StayTopActionExecute() {
    QAction *item = m_context.actions.StayTopAction;
    item->setChecked(!item->isChecked());
    // Changing the flag recreates the native window, which hides it and may move it.
    const QRect bounds = m_context.window.geometry();
    const bool shown = m_context.window.isVisible();
    m_context.window.setWindowFlag(Qt::WindowStaysOnTopHint, item->isChecked());
    m_context.window.setGeometry(bounds);
    if (shown)
        m_context.window.show();
    m_context.window.setAcceptDrops(true);
}
