#pragma once

#include <QObject>
#include <QString>

class Prompts;
class QWidget;
class TCoolBar;
class TEditorActions;
struct TFileDialog;

// What the window options reach. Nothing is owned.
struct WindowOptionsContext {
    QWidget &window;
    TCoolBar &CoolBar1;
    TEditorActions &actions;
    TFileDialog &OpenPictureDialog;
    Prompts &prompts;
};

// Two settings of the window itself: the bitmap behind the tool bars ("ToolBar Picture") and
// keeping the window above all others ("Stay on Top", not stored).
class TWindowOptions : public QObject {
    Q_OBJECT

public:
    explicit TWindowOptions(WindowOptionsContext context, QObject *parent = nullptr);

    // The bitmap shown behind the tool bars, stored with the settings.
    QString ToolBarPic;

    // Loads a bitmap behind the tool bars; raises UserError when it is not a readable picture.
    void LoadToolBarPicture(const QString &path);

    void ToolBarPicture1Click();
    void StayTopActionExecute();

private:
    WindowOptionsContext m_context;
};
