#pragma once
// Splits the data bytes of an accepted answer (after the two status bytes) into fields, with one
// fixed layout per command, and updates the answering device's record from identity answers.
#include "hart/HartData.h"

#include <array>
#include <cstdint>
#include <functional>

class CHartDevice;

namespace hart {

inline constexpr int kReceiveBufferSize = 256;

struct DecodeContext {
    int masterType = 0;
    bool useAddressTable = false;
    int addressIndex = 0;
    std::array<std::uint8_t, 5>* addressTable = nullptr; // 48 entries
    short* pollingAddress = nullptr;                      // followed on command 6
    int selectItemAfter = -1;                             // set by layouts that leave a field selected
    bool unknownCommand = false;                          // no layout: the catch-all was used
};

// rx: the whole 256-byte receive buffer (bytes past the received data are zero).
// dataIndex: first data byte after the status bytes. byteCount: the frame's byte count.
// Returns false when byteCount < 1 or there is no record; items receives the fields.
bool DecodeResponse(int command, const std::uint8_t* rx, int dataIndex, int byteCount, CHartDevice* record,
                    DecodeContext& ctx, CHartDataList& items);

// True when the command has a layout of its own.
bool HasLayout(int command);

} // namespace hart
