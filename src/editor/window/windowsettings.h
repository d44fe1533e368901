#pragma once

#include "platform/namedmutex.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QMainWindow;
class SettingsStore;
class TEditorActions;
class TFileCommands;
class TRxRichEdit;
class TToolBars;
class TWindowOptions;

// What the window's settings reach. Nothing is owned.
struct WindowSettingsContext {
    QMainWindow &window;
    TEditorActions &actions;
    TRxRichEdit &Memo;
    TToolBars &toolBars;
    TWindowOptions &windowOptions;
    TFileCommands &fileCommands;
    // The window's copy of "NoSplash".
    bool &NoSplash;
    SettingsStore &store;
    // Claims a system-wide name.
    std::function<NamedMutex::Claim(const QString &)> claimMutex;
};

// The editor window's values in the per-user settings store (its own handle on the store file):
// read once while the window is
// created (only by the first editor process), written once while it is destroyed, so the editor
// that closes last decides what is stored. Also the two View menu items that only set a stored
// flag: "No Splash Screen" and "Don't start with textviewer".
class TWindowSettings : public QObject {
    Q_OBJECT

public:
    explicit TWindowSettings(WindowSettingsContext context, QObject *parent = nullptr);
    ~TWindowSettings() override;

    // The window's copy of "NoTV".
    bool NoTV = false;
    // The kept values that other concerns follow and change: the font name and size text of the
    // font and size boxes, and the item names of the numbering and underline styles.
    QString FontStyle;
    QString FontSize;
    QString Bulletsstyle;
    QString UScoreType;
    // The side panel's state (0 no list, 1 file list, 2 term box): how to read it for writing,
    // and how to show a stored one. Set by the side panel's wiring; without them the value is
    // kept here.
    std::function<int()> ListBoxStatus;
    std::function<void(int)> ApplyListBoxStatus;

    void ReadSettings();
    // Throws StoreError when the store refuses a write.
    void WriteSettings();

    void ShowSplash1Click();
    void StartTVClick();

signals:
    // The style names were read; the style concerns derive their codes from them.
    void stylesRead();

private:
    void applyBounds(const QRect &bounds);
    void applyFont(const QString &name);
    int listBoxStatus() const;

    WindowSettingsContext m_context;
    int m_listBoxStatus = 1;
};
