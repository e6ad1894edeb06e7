// Anything a serial line can deliver goes through the receive rule, the judge and the splitter
// exactly as the link does it; none of it may read or write outside its buffers.
#include "hart/Codecs.h"
#include "hart/HartFields.h"
#include "hart/ResponseDecoder.h"
#include "link/FrameFormat.h"
#include "link/HartDevice.h"

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // First byte picks the master type and the last command, as the link would know them.
    hart::JudgeContext ctx{data[0] & 1, data[1]};
    std::uint8_t rx[hart::kFrameBufferSize] = {};
    int n = 0;
    for (std::size_t i = 2; i < size; ++i) {
        hart::StoreReceivedByte(rx, n, data[i]);
        (void)hart::CheckProgress(rx, n);
    }
    const hart::JudgedFrame f = hart::JudgeFrame(rx, n, ctx);
    if (f.verdict != hart::Verdict::Accepted || f.byteCount <= 2)
        return 0;
    CHartDevice rec(0);
    std::array<std::array<std::uint8_t, 5>, 48> table{};
    short polling = 0;
    hart::DecodeContext dctx;
    dctx.masterType = ctx.masterType;
    dctx.useAddressTable = (data[0] & 2) != 0;
    dctx.addressIndex = data[0] >> 2;
    dctx.addressTable = table.data();
    dctx.pollingAddress = &polling;
    CHartDataList items;
    hart::DecodeResponse(f.command, rx, f.dataIndex, f.byteCount, &rec, dctx, items);
    CHartFields fields;
    fields.SetResponseItems(std::move(items));
    for (int i = 0; i < fields.ResponseItemCount() + 1; ++i) {
        fields.SetResponseOffset(i);
        (void)fields.GetFloat();
        (void)fields.GetXInt24();
        (void)fields.GetInt24();
        (void)fields.GetXString();
    }
    (void)fields.GetResponseHexText();
    return 0;
}
