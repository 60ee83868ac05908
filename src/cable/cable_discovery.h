#pragma once

#include "cable/cable_link.h"
#include "cable/receiver.h"

#include <QList>
#include <QSet>
#include <QString>

class QSettings;

// Finding the cable, per system: on macOS through its own tools alone; on
// Linux by driver or by the interfaces the operator named (settings key
// "cableInterfaces", or --cable-interface on the command line). Each backend
// (platform/<os>/cable_discovery_<os>.cpp) defines the two functions below.
namespace tagsmith::cable {

inline const QString kCableInterfacesKey = QStringLiteral("cableInterfaces");

// The interface names kept under "cableInterfaces": a list, or one text of
// names separated by commas or spaces.
QSet<QString> cableInterfacesSetting(const QSettings& settings);

// The current cable links, as the collector serves on them. Blocks for up to
// a few seconds.
QList<CableLink> cableLinks(const QSet<QString>& namedInterfaces);

// How the workstation's receiver finds the Mac on the cable and its neighbours.
Receiver::Setup receiverSetup(const QSet<QString>& namedInterfaces);

} // namespace tagsmith::cable
