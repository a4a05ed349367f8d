#pragma once

#include "config/trunk/mac_trunk_codec.h"
#include "config/trunk/trunk_board.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "image/port_map.h"

#include <QStringList>
#include <QTest>

// Drives a trunk board with a short script of clicks. MAC-address-based trunks: "mac" selects the
// method, "h2" the third hash method, "+1" selects trunk 1, "-1" deselects it, "1+4" checks port
// box 4 of trunk 1 and "1-4" unchecks it. Port-based trunks: "port" selects the method, "P3"
// trunk 3, "P3-1" unchecks its member box 1, and "m3:9=2" maps user port 9 to member box 2 of
// trunk 3 (in `state`).
inline void runScript(TrunkBoard &board, const QString &script, ImageState *state = nullptr)
{
    for (const QString &op : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (op == QLatin1String("ones")) {
            continue; // the test's starting image
        } else if (op[0] == QLatin1Char('=') || op[0] == QLatin1Char('!')) {
            ImageWords image{};
            image[0][0] = op[0] == QLatin1Char('=') ? 0x0008 : 0;
            image[0][48] = op.mid(1).toUShort(nullptr, 16);
            MacTrunkCodec::decodeMacTrunks(image, board);
        } else if (op == QLatin1String("mac")) {
            board.selectMethod(TrunkMethod::MacAddress);
        } else if (op == QLatin1String("port")) {
            board.selectMethod(TrunkMethod::PortBased);
        } else if (op[0] == QLatin1Char('P')) {
            const int trunk = op.mid(1, 1).toInt() - 1;
            if (op.size() > 2)
                board.setMember(trunk, op.mid(3).toInt(), op[2] == QLatin1Char('+'));
            else
                board.setPortTrunk(trunk, true);
        } else if (op[0] == QLatin1Char('m')) {
            const int p =
                op.section(QLatin1Char(':'), 1).section(QLatin1Char('='), 0, 0).toInt() - 1;
            state->portTrunkMapping[op.mid(1, 1).toInt() - 1][p / 8]
                                   [4 * (p % 8) + op.section(QLatin1Char('='), 1).toInt()] = true;
        } else if (op[0] == QLatin1Char('h')) {
            board.setHashIndex(op.mid(1).toInt());
        } else if (op[0] == QLatin1Char('+') || op[0] == QLatin1Char('-')) {
            board.setMacTrunk(op.mid(1).toInt() - 1, op[0] == QLatin1Char('+'));
        } else {
            board.setMacPort(op[0].digitValue() - 1, op.mid(2).toInt(), op[1] == QLatin1Char('+'));
        }
    }
}

// The checked boxes, as digits: "0123".
template <std::size_t N> QString checkedBoxes(const std::array<bool, N> &boxes)
{
    QString checked;
    for (std::size_t i = 0; i < N; ++i)
        checked += boxes[i] ? QString::number(i) : QString();
    return checked;
}

inline void setModel(ImageState &state, int model)
{
    state.applyStartupDefaults();
    state.setModel(model);
    PortNumbers::buildPortMaps(state);
}

// "0:48=00AA 1:15=020F": device 0 word 48 holds 0x00AA, device 1 word 15 0x020F.
inline void compareWords(const ImageWords &image, const QString &expected)
{
    for (const QString &item : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int d = item.section(QLatin1Char(':'), 0, 0).toInt();
        const int w = item.section(QLatin1Char(':'), 1).section(QLatin1Char('='), 0, 0).toInt();
        const QString word = QString::number(image[d][w], 16).rightJustified(4, QLatin1Char('0'));
        QCOMPARE(QStringLiteral("%1:%2=%3").arg(d).arg(w).arg(word.toUpper()), item);
    }
}
