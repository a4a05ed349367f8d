#pragma once

#include "config/port_settings.h"
#include "image/image_state.h"
#include "image/port_word_codec.h"

#include <optional>

// Everything the port page shows of its port, as plain data: what the page draws.
struct PortControls {
    bool security = false;
    bool learning = false;
    bool learningEnabled = true; // locked while the port is secured
    bool stormControl = false;
    bool flowControl = false;
    bool autoNegotiation = false;
    bool rateDuplexPanelEnabled = true; // the panel holding both frames
    bool rateDuplexEnabled = true;      // the two frames and their four options
    std::optional<PortWord::Rate> rate; // the option selected in each frame, if any
    std::optional<PortWord::Duplex> duplex;
};

// The port page's click rules, without widgets, and the same rules for whole settings as the
// command line changes them. Each control setter is a change of one control, by the user or by
// code: when it changes the control, the control's rule runs and writes through to the words of
// the port shown, and the changes that rule makes run their own rules in turn, as chained click
// events would. Setting a control to the state it has runs nothing. The controls keep their state
// from one port to the next, so showing a port may rewrite its words.
class PortBoard
{
public:
    explicit PortBoard(ImageState &state);

    const PortControls &controls() const { return controls_; }

    // Shows user port `userIndex` by setting the controls one after another.
    void showPort(int userIndex);

    void setSecurity(bool on);
    void setLearning(bool on);
    void setStormControl(bool on);
    void setFlowControl(bool on);
    void setAutoNegotiation(bool on);
    void selectRate(PortWord::Rate rate);
    void selectDuplex(PortWord::Duplex duplex);

    // A secured port learns no addresses: securing a port clears its learning.
    static void secure(PortSettings &port, bool on);

    // The settings the words of chip port `chipPort` stand for.
    static PortSettings settingsOf(const PortWordTable &words, int chipPort);
    // Each setting of `from` that `to` changes is written as the page would write it; the rest of
    // the port's words stays. A learning setting given while securing the port is not taken.
    static void changeSettings(PortWordTable &words, int chipPort, const PortSettings &from,
                               const PortSettings &to);

private:
    void writeRateDuplex();
    quint16 &firstWord();
    quint16 &secondWord();

    ImageState &state_;
    PortControls controls_;
    int shownPort_ = 0; // a user port index
};
