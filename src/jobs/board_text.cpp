#include "jobs/board_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/text_contexts.h"

namespace {

QString joined(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list += QFile::decodeName(name.c_str());
    return list.join(QStringLiteral(", "));
}

}  // namespace

QString claim_problem(const usb::BoardClaim& claim) {
    const QString ident = QLatin1String(proto::kIdentFile);
    const QString volume = QFile::decodeName(claim.path().c_str());
    switch (claim.status()) {
        case usb::ClaimStatus::Held:
            return QString();
        case usb::ClaimStatus::NoBoard:
            return (claim.searched().empty()
                        ? MainTabText::tr(
                              "No dump board was found: there is no folder where removable "
                              "volumes are mounted.")
                        : MainTabText::tr("No dump board was found in %1 (no volume there "
                                          "holds %2).")
                              .arg(joined(claim.searched()), ident)) +
                   ' ' +
                   MainTabText::tr(
                       "Plug the board in and let the system mount it, or set "
                       "ZELVO_VOLUMES to the folder that holds its volume.");
        case usb::ClaimStatus::NoSuchBoard:
            return MainTabText::tr("No board named %1 was found; the boards seen: %2.")
                .arg(QFile::decodeName(claim.volume().c_str()), joined(claim.others()));
        case usb::ClaimStatus::InUse:
            if (!claim.why().empty())
                return MainTabText::tr("The dump device is in use by another program.") + ' ' +
                       QStringLiteral("(%1)").arg(QString::fromLocal8Bit(claim.why().c_str()));
            return MainTabText::tr("The dump device is in use by another program.");
        case usb::ClaimStatus::NotABoard:
            if (!claim.why().empty())
                return MainTabText::tr(
                           "%1 holds %2, but %3: it is not a dump board, and nothing "
                           "was written there.")
                    .arg(volume, ident, QString::fromLocal8Bit(claim.why().c_str()));
            return MainTabText::tr(
                       "%1 holds %2, but its identification record has no firmware label: it is "
                       "not a dump board, or the board does not answer.")
                .arg(volume, ident);
        case usb::ClaimStatus::ReadOnly:
            return MainTabText::tr(
                       "The board's volume %1 is mounted read-only, so no command can reach the "
                       "board; mount it read-write.")
                .arg(volume);
    }
    return QString();
}

QString claim_choice_note(const usb::BoardClaim& claim, const QString& optionName) {
    if (claim.others().empty()) return QString();
    const QString note =
        MainTabText::tr("Using the board %1; another board was seen: %2.")
            .arg(QFile::decodeName(claim.volume().c_str()), joined(claim.others()));
    if (optionName.isEmpty()) return note;
    return note + ' ' + MainTabText::tr("Choose one with %1 NAME.").arg(optionName);
}
