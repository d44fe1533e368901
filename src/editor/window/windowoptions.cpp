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
    , m(context) {
    TEditorActions &a = m.actions;
    a.route(a.ToolBarPicture1, this, &TWindowOptions::ToolBarPicture1Click);
    a.route(a.StayTopAction, this, &TWindowOptions::StayTopActionExecute);
}

void TWindowOptions::LoadToolBarPicture(const QString &path) {
    const QImage image = PictureDecoder::decodeFile(path);
    if (image.isNull())
        throw UserError(QStringLiteral("Bitmap image is not valid"));
    m.CoolBar1.setBackgroundBitmap(QPixmap::fromImage(image));
}

void TWindowOptions::ToolBarPicture1Click() {
    // The filter stays for later uses of the picture dialog.
    m.OpenPictureDialog.Filter = qtFileFilters(QStringLiteral("Windows Bitmaps (*.bmp)|*.BMP|"));
    m.OpenPictureDialog.FilterIndex = 1;
    int filterIndex = m.OpenPictureDialog.FilterIndex - 1;
    const QStringList chosen =
        m.prompts.openFileNames(&m.window, QStringLiteral("Open"), m.OpenPictureDialog.InitialDir,
                                m.OpenPictureDialog.Filter, &filterIndex, false);
    if (chosen.isEmpty())
        return;
    LoadToolBarPicture(chosen.first());
    ToolBarPic = chosen.first();
}

void TWindowOptions::StayTopActionExecute() {
    QAction *item = m.actions.StayTopAction;
    item->setChecked(!item->isChecked());
    // Changing the flag recreates the native window, which hides it and may move it.
    const QRect bounds = m.window.geometry();
    const bool shown = m.window.isVisible();
    m.window.setWindowFlag(Qt::WindowStaysOnTopHint, item->isChecked());
    m.window.setGeometry(bounds);
    if (shown)
        m.window.show();
    m.window.setAcceptDrops(true);
}
