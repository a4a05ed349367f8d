#pragma once

#include <QString>

// What the trunk page says, in one place.
namespace TrunkTexts
{

inline const char *const kPortBasedTab = "              Port Based              ";
inline const char *const kMacBasedTab = "             MAC Address Based             ";
inline const char *const kLoadBalancingMethod = "Load Balancing Method";
inline const char *const kMacAddressBased = "MAC Address Based";
inline const char *const kPortBased = "Port Based";
inline const char *const kLoadBalancingMapping = "Load Balancing Mapping";
inline const char *const kTrunkSelection = "Trunk Selection";
inline const char *const kTrunkPortAssignment = "Trunk Port Assignment";
inline const char *const kNotYet = "not yet";
inline const char *const kMappingDone = "ok";

inline const char *const kOneMethodQuestion =
    "Only one Load Balancing Method can be selected! Do you want to quit this ?";
// Below the question: what Yes gives up.
inline const char *const kOneMethodConsequence = "All trunks and all VLAN groups will be removed.";
inline const char *const kFinishMapping = "Please finish the trunk port mapping assignment !";
// Trunks 7 and 8 have their own wording when the page switches back to them.
inline const char *const kFinishMappingOfModuleTrunk =
    "Please finish the trunk port mapping assignment ";

// The mapping dialog of a port-based trunk.
inline const char *const kMappingTitle = "Port Based Trunk Port Mapping for Trunk ";
inline const char *const kMappingFrame = "Trunk ";
inline const char *const kMappingTabs[] = {"Port 1~8", "Port 9~16", "Port 17~24", "Port 25~32"};
inline const char *const kSxModuleTab = "Port25~26";
inline const char *const kAssignEachMapping = "Please assign each mapping !";
// Below the refusal: the ports still to map.
inline QString portsWithoutMember(const QString &ports)
{
    return QStringLiteral("Ports without a member: %1").arg(ports);
}
inline const char *const kSpreadEvenly = "Spread evenly";
inline const char *const kSpreadEvenlyTip =
    "Give every port without a member one, in turn over the trunk's members";

} // namespace TrunkTexts
