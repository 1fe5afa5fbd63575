#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <csignal>
#include <unistd.h>

// LibreOffice's conversion of a saved document to PDF, the yardstick the
// benchmarks set Corvalin's own figures beside.
namespace bench {

inline bool sofficeInstalled() { return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty(); }

// How long `soffice --headless --convert-to pdf` takes over `document`, the
// PDF left in `outdir`, in milliseconds; negative where LibreOffice is not
// installed, failed, or took longer than `limitMs` (a first start that hangs
// on a dialog would otherwise hold the benchmark for ever).
inline double sofficeToPdfMs(const QString& document, const QString& outdir, int limitMs = 120000)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return -1;
    QElapsedTimer t;
    t.start();
    QProcess p;
    // In a process group of its own: soffice is a script that starts
    // soffice.bin, which killing the script alone would leave running.
    p.setChildProcessModifier([] { ::setpgid(0, 0); });
    // A profile of its own: with the shared one, a LibreOffice already running
    // (a user's, another benchmark's) would take the job and keep it waiting.
    const QString profile = QUrl::fromLocalFile(outdir + QStringLiteral("/soffice-profile")).toString();
    p.start(soffice,
            {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
             QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outdir, document});
    if (!p.waitForFinished(limitMs)) {
        ::kill(-static_cast<pid_t>(p.processId()), SIGKILL);
        p.waitForFinished();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? t.nsecsElapsed() / 1e6 : -1;
}

}  // namespace bench
