#include "editor/window/windowsettings.h"

#include "editor/file/filecommands.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/toolbars.h"
#include "editor/window/editorsettings.h"
#include "editor/window/windowoptions.h"
#include "platform/settingsstore.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSpinBox>

using namespace EditorSettings;

TWindowSettings::TWindowSettings(WindowSettingsContext context, QObject *parent)
    : QObject(parent)
    , m(std::move(context)) {
    TEditorActions &a = m.actions;
    a.route(a.ShowSplash1, this, &TWindowSettings::ShowSplash1Click);
    a.route(a.StartTV, this, &TWindowSettings::StartTVClick);
}

TWindowSettings::~TWindowSettings() = default;

void TWindowSettings::ReadSettings() {
    // What other editors wrote since the store was opened counts too.
    m.store.reload();
    const EditorSettingsRead read =
        ReadEditorSettings(m.store, [this] { return m.claimMutex(InstanceMutex); });
    if (!read.read)
        return;
    if (read.bounds)
        applyBounds(*read.bounds);
    if (read.windowState) {
        if (*read.windowState == Maximized)
            m.window.setWindowState(Qt::WindowMaximized);
        else if (*read.windowState == Minimized)
            m.window.setWindowState(Qt::WindowMinimized);
        else
            m.window.setWindowState(Qt::WindowNoState);
    }
    for (const QString &path : read.recentFiles)
        m.fileCommands.AddRecentFile(path);
    if (read.toolBarPic)
        m.windowOptions.ToolBarPic = *read.toolBarPic;
    m.NoSplash = read.noSplash;
    m.actions.ShowSplash1->setChecked(read.noSplash);
    NoTV = read.noTV;
    m.actions.StartTV->setChecked(read.noTV);
    if (read.bulletsStyle)
        Bulletsstyle = *read.bulletsStyle;
    if (read.uScoreType)
        UScoreType = *read.uScoreType;
    if (read.bulletsStyle || read.uScoreType)
        emit stylesRead();
    if (read.fontStyleReached) {
        if (read.fontStyle) {
            FontStyle = *read.fontStyle;
            applyFont(FontStyle);
            m.Memo.SelAttributes().SetName(FontStyle);
        } else {
            applyFont(AbsentFontStyleFont);
        }
    }
    if (read.fontSize) {
        FontSize = *read.fontSize;
        const int points = FontSizePoints(FontSize);
        m.toolBars.FontSizeBox->setValue(points);
        QFont font = m.Memo.font();
        font.setPointSize(points);
        m.Memo.setFont(font);
    }
    if (read.listBoxStatus) {
        m_listBoxStatus = *read.listBoxStatus;
        if (ApplyListBoxStatus)
            ApplyListBoxStatus(m_listBoxStatus);
    }
}

void TWindowSettings::applyBounds(const QRect &bounds) {
    // Bounds from another screen layout that no screen shows any more leave the window centred.
    bool visible = false;
    for (const QScreen *screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().intersects(bounds);
    if (!visible)
        return;
    m.window.move(bounds.topLeft());
    m.window.resize(bounds.size());
}

void TWindowSettings::applyFont(const QString &name) {
    m.toolBars.FontCombo->setCurrentText(name);
    // The editing area's own font is its document's default font.
    QFont font = m.Memo.font();
    font.setFamily(name);
    m.Memo.setFont(font);
}

int TWindowSettings::listBoxStatus() const {
    return ListBoxStatus ? ListBoxStatus() : m_listBoxStatus;
}

void TWindowSettings::WriteSettings() {
    EditorSettingsValues values;
    const Qt::WindowStates state = m.window.windowState();
    values.windowState = state & Qt::WindowMaximized   ? Maximized
                         : state & Qt::WindowMinimized ? Minimized
                                                       : Normal;
    values.bounds = QRect(m.window.pos(), m.window.size());
    const TRecentFiles &recent = m.fileCommands.recentFiles();
    for (int slot = 0; slot < TRecentFiles::Count; ++slot)
        values.recentSlots.append(recent.storedValue(slot));
    values.toolBarPic = m.windowOptions.ToolBarPic;
    values.noSplash = m.NoSplash;
    values.noTV = NoTV;
    values.bulletsStyle = Bulletsstyle;
    values.uScoreType = UScoreType;
    values.fontStyle = FontStyle;
    values.fontSize = FontSize;
    values.listBoxStatus = listBoxStatus();
    WriteEditorSettings(m.store, values);
}

void TWindowSettings::ShowSplash1Click() {
    m.actions.ShowSplash1->setChecked(!m.actions.ShowSplash1->isChecked());
    m.NoSplash = m.actions.ShowSplash1->isChecked();
}

void TWindowSettings::StartTVClick() {
    m.actions.StartTV->setChecked(!m.actions.StartTV->isChecked());
    NoTV = m.actions.StartTV->isChecked();
}
