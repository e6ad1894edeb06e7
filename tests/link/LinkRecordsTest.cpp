// Device records: identity from command 0, long addresses, following command 6, address table.
#include "common/SimFixture.h"
#include "sim/SlaveFraming.h"

using namespace testing_support;

namespace {
class LinkRecordsTest : public LinkOnSimTest {};

std::vector<std::uint8_t> ShortAnswer(std::uint8_t address, std::vector<std::uint8_t> data) {
    sim::ResponseFrame f;
    f.shortFrame = true;
    f.shortAddress = address;
    f.command = 0;
    f.data = std::move(data);
    return sim::BuildResponse(f);
}
} // namespace

TEST_F(LinkRecordsTest, CommandZeroFillsTheRecord) {
    Connect();
    comm().SetPollingAddress(3);
    ASSERT_EQ(comm().Request(0, 0), 1);
    EXPECT_EQ(hart::HexText(line->Writes().back()).trimmed(), "FF FF FF FF FF 02 83 00 00 81");
    line->FeedReceived(ShortAnswer(0x83, {254, 134, 107, 5, 5, 1, 2, 3, 0, 0x00, 0x12, 0x34}));
    ASSERT_TRUE(SpinUntil([&] { return comm().GetComState() == hart::IDLE_COM_STATE; }));
    const CHartDevice* d = comm().FindDevice(3);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->m_nManufacturerCode, 134);
    EXPECT_EQ(d->m_nDeviceTypeCode, 107);
    EXPECT_EQ(d->m_nRequestPreambles, 5);
    EXPECT_EQ(comm().GetDeviceId(3), 0x1234);
    int u = 0, dev = 0, hw = 0, sw = 0;
    ASSERT_EQ(comm().GetRevisions(3, u, dev, hw, sw), 1);
    EXPECT_EQ(std::vector<int>({u, dev, sw, hw}), std::vector<int>({5, 1, 2, 3}));
    EXPECT_EQ(d->m_LongAddress, (std::array<std::uint8_t, 5>{0x86, 0x6B, 0x00, 0x12, 0x34}));
    EXPECT_EQ(comm().GetUniqueIdText(3), "06 6B 00 12 34 ");
    EXPECT_EQ(comm().ResponseItemCount(), 10);
}

TEST_F(LinkRecordsTest, PreambleCountOutsideTheRangeFallsBackToFive) {
    Connect();
    comm().SetPollingAddress(1);
    ASSERT_EQ(comm().Request(0, 0), 1);
    line->FeedReceived(ShortAnswer(0x81, {254, 134, 107, 25, 5, 1, 2, 3, 0, 0, 0, 9}));
    ASSERT_TRUE(SpinUntil([&] { return comm().GetComState() == hart::IDLE_COM_STATE; }));
    EXPECT_EQ(comm().GetRequestPreambles(1), 5);
}

TEST_F(LinkRecordsTest, OneRecordPerAddressAndTheMasterBitStaysWithTheAddress) {
    loop.AddDevice("KP510", 2, 0x000102);
    loop.AddDevice("KT410", 5, 0x000105);
    Connect();
    ASSERT_TRUE(session->Transact(2, 0).ok());
    comm().SetMasterType(1);
    ASSERT_TRUE(session->Transact(5, 0).ok());
    EXPECT_EQ(comm().GetDeviceCount(), 2);
    EXPECT_EQ(comm().GetDeviceTypeCode(2), 107);
    EXPECT_EQ(comm().GetDeviceTypeCode(5), 117);
    EXPECT_EQ(comm().FindDevice(2)->m_LongAddress[0], 0x86) << "built as primary master";
    EXPECT_EQ(comm().FindDevice(5)->m_LongAddress[0], 0x06) << "built as secondary master";
    EXPECT_EQ(comm().GetManufacturerCode(9), 0) << "no record: neutral value";
    EXPECT_EQ(comm().GetTag(9), QString());
    // A long frame to 2 still carries the master bit it was built with.
    line->ClearWrites();
    ASSERT_TRUE(session->Transact(2, 13).ok());
    EXPECT_EQ(line->Writes().back()[6], 0x86);
    EXPECT_EQ(comm().GetTag(2), "KP51-02 ");
}

TEST_F(LinkRecordsTest, CommandSixMovesTheLinkWithTheDevice) {
    loop.AddDevice("KP510", 2, 0x000102);
    Connect();
    ASSERT_TRUE(session->Transact(2, 0).ok());
    ASSERT_TRUE(session->Transact(2, 6, {5}).ok());
    EXPECT_EQ(comm().GetPollingAddress(), 5);
    EXPECT_NE(comm().FindDevice(5), nullptr);
    EXPECT_EQ(comm().FindDevice(2), nullptr);
    // The next request goes to 5 without a new selection.
    ASSERT_EQ(comm().Request(13, 0), 1);
    ASSERT_TRUE(SpinUntil([&] { return comm().GetComState() == hart::IDLE_COM_STATE; }));
    EXPECT_EQ(comm().GetTag(5), "KP51-02 ");
}

TEST_F(LinkRecordsTest, CommandThirteenSetsTagDescriptorAndDate) {
    sim::SimDevice& d = loop.AddDevice("KP510", 0, 7);
    loop.With([&](sim::SimLoop&) {
        d.tag = "PT-7";
        d.descriptor = "BOILER FEED";
        d.year = 2005;
        d.month = 6;
        return d.day = 9;
    });
    Connect();
    ASSERT_TRUE(session->Transact(0, 13).ok());
    EXPECT_EQ(comm().GetTag(0), "PT-7    ");
    EXPECT_EQ(comm().GetDescriptor(0), "BOILER FEED     ");
    EXPECT_EQ(comm().GetDateText(0), "2005 / 06 / 09");
    EXPECT_EQ(comm().GetDateYear(0), 2005);
    // The selection is left on the descriptor field.
    EXPECT_EQ(comm().GetXString(), "BOILER FEED     ");
}

TEST_F(LinkRecordsTest, AddressTableTakesTheLongAddressAndAddressesRequests) {
    loop.AddDevice("KP520", 0, 0x00ABCD);
    Connect();
    comm().SetUseAddressTable(1);
    comm().SetAddressIndex(3);
    ASSERT_TRUE(session->Transact(0, 0).ok());
    EXPECT_EQ(comm().AddressEntry(3), (std::array<std::uint8_t, 5>{0x80 | 6, 97, 0x00, 0xAB, 0xCD}));
    ASSERT_EQ(comm().CopyAddressEntry(3, 40), 1);
    EXPECT_EQ(comm().CopyAddressEntry(3, 48), 0);
    comm().SetAddressIndex(40);
    comm().RemoveAllDevices();
    // Without a record of its own, the long frame still reaches the device through the table.
    ASSERT_TRUE(session->Transact(9, 1, {}, false).ok());
    EXPECT_EQ(line->Writes().back()[6], 0x86);
}

TEST_F(LinkRecordsTest, DisconnectForgetsEverything) {
    loop.AddDevice("KP510", 0, 1);
    Connect();
    ASSERT_TRUE(session->Transact(0, 1).ok());
    EXPECT_GT(comm().ResponseItemCount(), 0);
    EXPECT_EQ(comm().Disconnect(), 1);
    EXPECT_EQ(comm().GetDeviceCount(), 0);
    EXPECT_EQ(comm().ResponseItemCount(), 0);
    EXPECT_EQ(comm().Connect(), 1) << "the line can be opened again";
    EXPECT_TRUE(session->Transact(0, 1).ok());
}
