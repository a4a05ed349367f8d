#pragma once

#include <QString>

// What the properties dialog, its port page and "Apply to Other Ports" show, in one place.
namespace PropertiesTexts
{

inline const char *const kPortTab = "Port";
inline const char *const kTrunkTab = " Trunk Assignment";
inline const char *const kVlanTab = "VLAN";

inline const char *const kPortSelection = "Port Selection";
inline const char *const kConfigurationOfPort = "Configuration of Port ";
inline const char *const kSecurity = "Security";
inline const char *const kAddressLearning = "Address Learning";
inline const char *const kStormControl = "Broadcast Storm Control";
inline const char *const kFlowControl = "Full Duplex Flow Control (802.3X)";
inline const char *const kAutoNegotiation = "Auto-Negotiation";
inline const char *const kDataRate = "Data Rate";
inline const char *const kRate10 = "10Mbps";
inline const char *const kRate100 = "100Mbps";
inline const char *const kDuplexMode = "Duplex Mode";
inline const char *const kHalfDuplex = "Half Duplex";
inline const char *const kFullDuplex = "Full Duplex";
inline const char *const kApplyToOtherPorts = "Apply to other ports...";

inline const char *const kApplyTitle = "Apply to Other Ports";
inline const char *const kSelectTargetPorts = "Select ports to which be apllied";

// A port button's caption: the user port number right-aligned in two characters, " 1".."32".
inline QString portCaption(int userIndex)
{
    return QStringLiteral("%1").arg(userIndex + 1, 2);
}

inline QString configurationOfPort(int userIndex)
{
    return QString::fromLatin1(kConfigurationOfPort) + QString::number(userIndex + 1);
}

} // namespace PropertiesTexts
