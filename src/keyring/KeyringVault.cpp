#include "keyring/KeyringVault.h"

#include <qt6keychain/keychain.h>

#include <QCoreApplication>
#include <QEventLoop>

namespace tavrin {
namespace {

const QString kService = QStringLiteral("Tavrin calendars");

// Runs a keychain job to its end and says whether it went well (and if not, why).
void runJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}

}  // namespace

KeyringVault::KeyringVault(std::string fallbackFile) : fallback_(std::move(fallbackFile)) {}

void KeyringVault::ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tavrinctl";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

Result<> KeyringVault::store(const std::string& id, const std::string& password) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(QString::fromStdString(id));
    job.setBinaryData(QByteArray::fromStdString(password));
    runJob(job);
    if (job.error() == QKeychain::NoError) {
        // A copy left in the file from a time without keyring is no longer needed.
        (void)fallback_.forget(id);
        return {};
    }
    if (const Result<> kept = fallback_.store(id, password); !kept)
        return Failure{"the password could be kept neither in the keyring (" +
                       job.errorString().toStdString() + ") nor in a file: " + kept.message()};
    return Result<>::success("no keyring (Secret Service) answered (" + job.errorString().toStdString() +
                             "); the password is kept in " + fallback_.file() + ", readable by you alone");
}

Result<std::optional<std::string>> KeyringVault::read(const std::string& id) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(QString::fromStdString(id));
    runJob(job);
    if (job.error() == QKeychain::NoError) return std::optional<std::string>(job.binaryData().toStdString());
    return fallback_.read(id);
}

Result<> KeyringVault::forget(const std::string& id) {
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(QString::fromStdString(id));
    runJob(job);
    const Result<> fromFile = fallback_.forget(id);
    if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound && !fromFile)
        return fromFile;
    return {};
}

}  // namespace tavrin
