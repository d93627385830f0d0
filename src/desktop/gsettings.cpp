#include "desktop/gsettings.h"

#include "desktop/desktop_log.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

namespace zorvik::Gsettings {

namespace {
constexpr int answerTimeoutMs = 2000;
}

void get(QObject *context, const QString &schema, const QString &key,
         std::function<void(const QString &output)> done)
{
    auto *process = new QProcess(context);
    auto finish = [process, key, done = std::move(done)](const QString &output) {
        qCDebug(lcDesktop) << "gsettings" << key << (output.isNull() ? QStringLiteral("gave no answer") : output);
        process->disconnect();
        process->deleteLater();
        done(output);
    };
    // The answers are taken with `context` as the receiver: its destructor drops them before it
    // deletes its children, so the process that it kills on the way out calls nobody back
    // (with the process as the receiver, `done` ran on a half-destroyed owner).
    QObject::connect(process, &QProcess::finished, context,
                     [process, finish](int exitCode, QProcess::ExitStatus status) {
                         const bool ok = status == QProcess::NormalExit && exitCode == 0;
                         finish(ok ? QString::fromUtf8(process->readAllStandardOutput()).trimmed() : QString());
                     });
    QObject::connect(process, &QProcess::errorOccurred, context, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) // no gsettings on this desktop
            finish(QString());
    });
    QTimer::singleShot(answerTimeoutMs, process, [process] { process->kill(); });
    process->start(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
}

} // namespace zorvik::Gsettings
