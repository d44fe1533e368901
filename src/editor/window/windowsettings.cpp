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
    , m_context(std::move(context)) {
    TEditorActions &a = m_context.actions;
    a.route(a.ShowSplash1, this, &TWindowSettings::ShowSplash1Click);
    a.route(a.StartTV, this, &TWindowSettings::StartTVClick);
}

TWindowSettings::~TWindowSettings() = default;

void TWindowSettings::ReadSettings() {
    // What other editors wrote since the store was opened counts too.
    m_context.store.reload();
    const EditorSettingsRead read =
        ReadEditorSettings(m_context.store, [this] { return m_context.claimMutex(InstanceMutex); });
    if (!read.read)
        return;
    if (read.bounds)
        applyBounds(*read.bounds);
    if (read.windowState) {
        if (*read.windowState == Maximized)
            m_context.window.setWindowState(Qt::WindowMaximized);
        else if (*read.windowState == Minimized)
            m_context.window.setWindowState(Qt::WindowMinimized);
        else
            m_context.window.setWindowState(Qt::WindowNoState);
    }
    for (const QString &path : read.recentFiles)
        m_context.fileCommands.AddRecentFile(path);
    if (read.toolBarPic)
        m_context.windowOptions.ToolBarPic = *read.toolBarPic;
    m_context.NoSplash = read.noSplash;
    m_context.actions.ShowSplash1->setChecked(read.noSplash);
    NoTV = read.noTV;
    m_context.actions.StartTV->setChecked(read.noTV);
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
            m_context.Memo.SelAttributes().SetName(FontStyle);
        } else {
            applyFont(AbsentFontStyleFont);
        }
    }
    if (read.fontSize) {
        FontSize = *read.fontSize;
        const int points = FontSizePoints(FontSize);
        m_context.toolBars.FontSizeBox->setValue(points);
        QFont font = m_context.Memo.font();
        font.setPointSize(points);
        m_context.Memo.setFont(font);
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
    m_context.window.move(bounds.topLeft());
    m_context.window.resize(bounds.size());
}

void TWindowSettings::applyFont(const QString &name) {
    m_context.toolBars.FontCombo->setCurrentText(name);
    // The editing area's own font is its document's default font.
    QFont font = m_context.Memo.font();
    font.setFamily(name);
    m_context.Memo.setFont(font);
}

int TWindowSettings::listBoxStatus() const {
    return ListBoxStatus ? ListBoxStatus() : m_listBoxStatus;
}

void TWindowSettings::WriteSettings() {
    EditorSettingsValues values;
    const Qt::WindowStates state = m_context.window.windowState();
    values.windowState = state & Qt::WindowMaximized   ? Maximized
                         : state & Qt::WindowMinimized ? Minimized
                                                       : Normal;
    values.bounds = QRect(m_context.window.pos(), m_context.window.size());
    const TRecentFiles &recent = m_context.fileCommands.recentFiles();
    for (int slot = 0; slot < TRecentFiles::Count; ++slot)
        values.recentSlots.append(recent.storedValue(slot));
    values.toolBarPic = m_context.windowOptions.ToolBarPic;
    values.noSplash = m_context.NoSplash;
    values.noTV = NoTV;
    values.bulletsStyle = Bulletsstyle;
    values.uScoreType = UScoreType;
    values.fontStyle = FontStyle;
    values.fontSize = FontSize;
    values.listBoxStatus = listBoxStatus();
    WriteEditorSettings(m_context.store, values);
}

void TWindowSettings::ShowSplash1Click() {
    m_context.actions.ShowSplash1->setChecked(!m_context.actions.ShowSplash1->isChecked());
    m_context.NoSplash = m_context.actions.ShowSplash1->isChecked();
}

void TWindowSettings::StartTVClick() {
    m_context.actions.StartTV->setChecked(!m_context.actions.StartTV->isChecked());
    NoTV = m_context.actions.StartTV->isChecked();
}
