#pragma once

#include <QString>

// SIGINT, SIGTERM and SIGHUP while swcfgctl talks to a switch: instead of dying with the port's
// settings changed, its lock left behind and a half-written switch, the command finishes the word
// on the wire, stops, closes the port and says what the switch now holds.
namespace StopSignals
{

// From now on the three signals are noted instead of ending the program.
void install();
// The signal noted first; 0 while none came.
int received();
// "SIGINT", "SIGTERM", "SIGHUP".
QString name(int signal);

} // namespace StopSignals
