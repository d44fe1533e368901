#include "editor/convert/convertcommands.h"

#include "convert/converterdiscovery.h"
#include "convert/isolatedconverters.h"
#include "editor/document/documentstate.h"
#include "editor/file/filedialog.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "platform/prompts.h"
#include "platform/settingsstore.h"
#include "platform/usererror.h"
#include "richtext/richeditstrings.h"
#include "richtext/rxrichedit.h"

#include <QFileInfo>
#include <exception>

namespace {

const QString LoadingFile = QStringLiteral("Loading file...");
const QString ExportingFile = QStringLiteral("Exporting file...");

// The dialog shows the converter filter for one command and gets its own back afterwards.
class BorrowedFilter {
public:
    BorrowedFilter(TFileDialog &dialog, const QString &filter)
        : m_dialog(dialog)
        , m_filter(dialog.Filter) {
        m_dialog.Filter = qtFileFilters(filter);
    }
    ~BorrowedFilter() { m_dialog.Filter = m_filter; }
    BorrowedFilter(const BorrowedFilter &) = delete;
    BorrowedFilter &operator=(const BorrowedFilter &) = delete;

private:
    TFileDialog &m_dialog;
    QStringList m_filter;
};

QString reason(const std::exception &error) {
    if (const auto *user = dynamic_cast<const UserError *>(&error))
        return user->text();
    return QString::fromLocal8Bit(error.what());
}

} // namespace

TConvertCommands::TConvertCommands(ConvertCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context)) {
    TEditorActions &a = m_context.actions;
    a.route(a.mmopen1, this, &TConvertCommands::mmopen1Click);
    a.route(a.mmsave1, this, &TConvertCommands::mmsave1Click);
}

void TConvertCommands::report(const QString &text) {
    m_context.status.setTextSized(TStatusPanels::Comments, text);
}

void TConvertCommands::mmopen1Click() {
    if (m_context.Memo.Modified() && m_context.AskSaveChanges && !m_context.AskSaveChanges())
        return;
    const SettingsStore machine(m_context.machineStore, SettingsStore::Access::ReadOnly);
    QStringList files;
    int filterIndex = 0;
    {
        TFileDialog &dialog = m_context.document.OpenDialog;
        const BorrowedFilter borrowed(
            dialog, Convert::GetConverterFilter(machine, Convert::Direction::Import));
        filterIndex = std::min<int>(ImportFilterEntry, int(dialog.Filter.size())) - 1;
        files =
            m_context.prompts.openFileNames(&m_context.window, QStringLiteral("Import"),
                                            dialog.InitialDir, dialog.Filter, &filterIndex, false);
    }
    if (files.isEmpty())
        return;
    QStringList names;
    Convert::GetConverterNames(machine, Convert::Direction::Import, &names);
    const QString name = names.value(filterIndex);
    const QString file = files.first();
    report(LoadingFile);
    if (name.contains(QLatin1String("Rich Text"))) {
        try {
            m_context.Memo.Lines().LoadFromFile(file);
        } catch (const std::exception &error) {
            report(QStringLiteral("Import failed: ") + reason(error));
            throw;
        }
        m_context.Memo.SetModified(true);
        report(QStringLiteral("Done"));
        return;
    }
    if (!m_context.converters.ImportWithConverter(file, name, m_context.Memo)) {
        report(QStringLiteral("Import failed: ") + m_context.converters.failure());
        return;
    }
    m_context.Memo.SetModified(true);
    report(QStringLiteral("Succesfully imported: ") + QFileInfo(file).absoluteFilePath());
}

void TConvertCommands::mmsave1Click() {
    const SettingsStore machine(m_context.machineStore, SettingsStore::Access::ReadOnly);
    QString file;
    int filterIndex = 0;
    {
        TFileDialog &dialog = m_context.document.SaveDialog;
        const BorrowedFilter borrowed(
            dialog, Convert::GetConverterFilter(machine, Convert::Direction::Export));
        filterIndex = std::clamp<int>(dialog.FilterIndex, 1, int(dialog.Filter.size())) - 1;
        file = m_context.prompts.saveFileName(&m_context.window, QStringLiteral("Export"),
                                              dialog.InitialDir, dialog.Filter, &filterIndex);
        if (!file.isEmpty())
            dialog.FilterIndex = filterIndex + 1;
    }
    if (file.isEmpty())
        return;
    QStringList names;
    Convert::GetConverterNames(machine, Convert::Direction::Export, &names);
    const QString name = names.value(filterIndex);
    report(ExportingFile);
    try {
        if (name.contains(QLatin1String("Rich Text"))) {
            m_context.Memo.Lines().SaveToFile(file);
            report(QStringLiteral("Done "));
            return;
        }
        if (!m_context.converters.ExportWithConverter(file, name, m_context.Memo)) {
            report(QStringLiteral("Export failed: ") + m_context.converters.failure());
            return;
        }
    } catch (const std::exception &error) {
        report(QStringLiteral("Export failed: ") + reason(error));
        throw;
    }
    report(QStringLiteral("Succesfully exported: ") + QFileInfo(file).absoluteFilePath());
}
