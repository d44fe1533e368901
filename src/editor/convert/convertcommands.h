#pragma once

#include <QObject>
#include <QString>
#include <functional>

class Prompts;
class QWidget;
class TDocumentState;
class TEditorActions;
class TRxRichEdit;
class TStatusPanels;

namespace Convert {
class IsolatedConverters;
}

// What the Import and Export commands reach. Nothing is owned; everything belongs to the editor
// window.
struct ConvertCommandsContext {
    QWidget &window;
    TRxRichEdit &Memo;
    TEditorActions &actions;
    TDocumentState &document;
    TStatusPanels &status;
    Prompts &prompts;
    Convert::IsolatedConverters &converters;
    // The path of the machine store the converters are registered in.
    QString machineStore;
    // The save question of the file commands; false when the user cancelled.
    std::function<bool()> AskSaveChanges;
};

// The File menu's "Import" and "Export": a foreign file into the editing area, or the document
// into a foreign file, through the converter chosen by the dialog's filter entry. The open and
// save dialogs lend their folder and get their own filters back afterwards.
//
// An import replaces the document, so a modified one is asked about first, and the imported text
// counts as modified: it is in no file of the editor's own yet. A failed conversion says so and
// why in the "Comments" panel.
class TConvertCommands : public QObject {
    Q_OBJECT

public:
    explicit TConvertCommands(ConvertCommandsContext context, QObject *parent = nullptr);

    void mmopen1Click();
    void mmsave1Click();

    // The filter entry the Import dialog preselects, counted from 1.
    static constexpr int ImportFilterEntry = 4;

private:
    void report(const QString &text);

    ConvertCommandsContext m_context;
};
