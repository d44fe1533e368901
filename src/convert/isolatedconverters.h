#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class TRxRichEdit;

namespace Convert {

// Import and export through a converter running in a helper process of ours
// (quillet-converter-host, see converterhost.h), so that a converter library that crashes or
// hangs ends only that conversion: the editor and its document stay as they were, and the user
// is told. The helper loads the library and drives its entry points and callbacks; its messages
// reach the sink given here, in their order.
class IsolatedConverters {
public:
    using MessageSink = std::function<void(const QString &)>;

    // host: the helper's path; timeoutMs: how long one conversion may take before it is stopped.
    IsolatedConverters(QString host, MessageSink message, int timeoutMs = DefaultTimeout);

    // The RTF of a foreign file; nullopt on failure.
    std::optional<QByteArray> importRtf(const QString &fileName, const QString &displayName);
    bool ImportWithConverter(const QString &fileName, const QString &displayName,
                             TRxRichEdit &editor);
    bool exportRtf(const QString &fileName, const QString &displayName, const QByteArray &rtf);
    bool ExportWithConverter(const QString &fileName, const QString &displayName,
                             TRxRichEdit &editor);

    // Why the last import or export failed, in a few words; empty after a success.
    const QString &failure() const { return m_failure; }
    const QString &host() const { return m_host; }
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }

    static constexpr int DefaultTimeout = 120000;

private:
    // Runs the helper; answers the RTF it passed on (empty for an export) when it ended by
    // itself with success.
    std::optional<QByteArray> runHost(const QString &direction, const QString &fileName,
                                      const QString &displayName, const QByteArray &input);

    QString m_host;
    MessageSink m_message;
    int m_timeout;
    QString m_failure;
};

} // namespace Convert
