#include "platform/gsettings.h"

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
    auto finish = [process, done = std::move(done)](const QString &output) {
        process->disconnect();
        process->deleteLater();
        done(output);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, finish](int exitCode, QProcess::ExitStatus status) {
                         const bool ok = status == QProcess::NormalExit && exitCode == 0;
                         finish(ok ? QString::fromUtf8(process->readAllStandardOutput()).trimmed() : QString());
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) // no gsettings on this desktop
            finish(QString());
    });
    QTimer::singleShot(answerTimeoutMs, process, [process] { process->kill(); });
    process->start(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
}

} // namespace zorvik::Gsettings
