#include "MBusFrames.h"

#include <gtest/gtest.h>

using namespace mbus_test;

// The water meter of the M-Bus documentation decodes exactly as documented.
TEST(MBusWired, DocumentedWaterMeterFrame)
{
    const Bytes frame = Water_Meter_Frame();
    EXPECT_EQ(frame, Hex("68 1F 1F 68 08 02 72 78563412 2440 01 07 55 00 0000"
                         "03 13 153100 DA 02 3B 1301 8B 60 04 371802 18 16"));
    EXPECT_TRUE(Is_Valid_RSP_UD(frame));

    Decoder decoder;
    TList_Slave_MBus meters;
    bool complete = false;
    ASSERT_EQ(decoder.Register_Wired_Meter(frame, -1, complete, meters), 0);
    EXPECT_TRUE(complete);
    ASSERT_EQ(meters.size(), 1u);
    const TSlave_MBus& meter = *meters[0];
    EXPECT_EQ(meter.Primary_Addresss, 2);
    EXPECT_EQ(meter.Secondary_Addresss, "12345678");
    EXPECT_EQ(meter.Manufacture, 0x4024);
    EXPECT_EQ(meter.descManufacture, "PAD");
    EXPECT_EQ(meter.Version, 1);
    EXPECT_EQ(meter.Medium, 7);
    EXPECT_EQ(meter.descmedium, "Water");
    EXPECT_EQ(meter.Status, 0);

    ASSERT_EQ(meter.List_Var.size(), 3u);
    const TVariable_MBus& volume = *meter.List_Var[0];
    EXPECT_EQ(volume.ValueStr, "12.565");
    EXPECT_EQ(volume.Desc_Type_Data, "Volume m3");
    EXPECT_EQ(volume.DataFieldStr, "24 Bit Integer");
    EXPECT_EQ(volume.storage_number, 0);

    const TVariable_MBus& flow = *meter.List_Var[1];
    EXPECT_EQ(flow.ValueStr, "0.113");
    EXPECT_EQ(flow.Desc_Type_Data, "Volume Flow m3/h");
    EXPECT_EQ(flow.FunctionFieldStr, "Maximum value");
    EXPECT_EQ(flow.storage_number, 5);
    EXPECT_EQ(flow.DIF, "$DA");
    EXPECT_EQ(flow.DIFE, "$02 ");
    EXPECT_TRUE(flow.Is_BCD);

    const TVariable_MBus& energy = *meter.List_Var[2];
    EXPECT_EQ(energy.ValueStr, "218370");
    EXPECT_EQ(energy.Desc_Type_Data, "Energy Wh");
    EXPECT_EQ(energy.tarif, 2);
    EXPECT_EQ(energy.device, 1);
    EXPECT_EQ(energy.storage_number, 0);
    EXPECT_EQ(energy.type_data, 0);
}

// A later frame of the same meter appends its records; a DIF 0x1F marks the data incomplete.
TEST(MBusWired, FollowingFramesAppendToTheMeter)
{
    Decoder decoder;
    TList_Slave_MBus meters;
    bool complete = true;
    const Bytes first = Long_Frame(0x08, 0x02, 0x72, Water_Meter_Header(), Hex("03 13 153100 1F"));
    ASSERT_EQ(decoder.Register_Wired_Meter(first, -1, complete, meters), 0);
    EXPECT_FALSE(complete);
    const Bytes second = Long_Frame(0x08, 0x02, 0x72, Water_Meter_Header(), Hex("04 13 2A000000"));
    ASSERT_EQ(decoder.Register_Wired_Meter(second, 0, complete, meters), 0);
    EXPECT_TRUE(complete);
    ASSERT_EQ(meters.size(), 1u);
    ASSERT_EQ(meters[0]->List_Var.size(), 2u);
    EXPECT_EQ(meters[0]->List_Var[1]->ValueStr, "0.042");
}

TEST(MBusWired, IdentificationNumberText)
{
    struct Case {
        const char* Id;
        const char* Text;
    };
    for (const Case& c : {Case{"23010000", "123"}, Case{"00000000", "00"}, Case{"05000000", "05"},
                          Case{"EFCDAB89", "89ABCDEF"}}) {
        Decoder decoder;
        TList_Slave_MBus meters;
        bool complete = false;
        const Bytes header = Join({Hex(c.Id), Hex("2440 01 07 55 00 0000")});
        ASSERT_EQ(decoder.Register_Wired_Meter(Long_Frame(0x08, 1, 0x72, header, Hex("0113 01")), -1, complete, meters), 0);
        EXPECT_EQ(meters[0]->Secondary_Addresss, c.Text) << c.Id;
    }
}

// Frames the scan refuses, and frames too short for the header, which are never read.
TEST(MBusWired, FrameChecksAndRefusals)
{
    const Bytes good = Water_Meter_Frame();
    auto changed = [&](size_t at, uint8_t value) {
        Bytes frame = good;
        frame[at] = value;
        return frame;
    };
    EXPECT_FALSE(Is_Valid_RSP_UD(changed(good.size() - 2, 0x19))) << "checksum";
    EXPECT_FALSE(Is_Valid_RSP_UD(changed(2, 0x20))) << "the two lengths differ";
    EXPECT_FALSE(Is_Valid_RSP_UD(changed(good.size() - 1, 0x17))) << "stop byte";
    EXPECT_FALSE(Is_Valid_RSP_UD(changed(3, 0x10))) << "second start byte";
    EXPECT_FALSE(Is_Valid_RSP_UD(Long_Frame(0x08, 2, 0x72, Water_Meter_Header(), {}))) << "no records: 21 bytes";
    EXPECT_FALSE(Is_Valid_RSP_UD(Bytes{}));

    Decoder decoder;
    TList_Slave_MBus meters;
    bool complete = false;
    EXPECT_EQ(decoder.Register_Wired_Meter(Bytes(good.begin(), good.begin() + 20), -1, complete, meters), -1);
    EXPECT_TRUE(meters.empty());
    EXPECT_EQ(decoder.Register_Wired_Meter(good, 3, complete, meters), -1);
    EXPECT_TRUE(meters.empty());
    // A header and no records: the meter exists with none.
    EXPECT_EQ(decoder.Register_Wired_Meter(Long_Frame(0x08, 2, 0x72, Water_Meter_Header(), {}), -1, complete, meters), 0);
    EXPECT_TRUE(meters[0]->List_Var.empty());
}

// An answer with the fixed data structure holds two counters, not records: the meter gets its
// identification number and status, no record is invented from the counters, and the walk says
// why. The same bytes under the variable CI still walk.
TEST(MBusWired, FixedDataStructureIsRecognisedNotWalked)
{
    // Identification number 12345678, access number 0x21, status 0x80, medium and units, then
    // counters 00000001 and 00000002.
    const Bytes fixed_header = Hex("78563412 21 80 1306 01000000 02000000");
    for (const uint8_t ci : {uint8_t(0x73), uint8_t(0x77)}) {
        SCOPED_TRACE(int(ci));
        const Bytes frame = Long_Frame(0x08, 5, ci, fixed_header, {});
        ASSERT_TRUE(Is_Valid_RSP_UD(frame));
        Decoder decoder;
        TList_Slave_MBus meters;
        bool complete = false;
        ASSERT_EQ(decoder.Register_Wired_Meter(frame, -1, complete, meters), 0);
        EXPECT_TRUE(complete);
        const TSlave_MBus& meter = *meters[0];
        EXPECT_EQ(meter.Primary_Addresss, 5);
        EXPECT_EQ(meter.Secondary_Addresss, "12345678");
        EXPECT_EQ(meter.Status, 0x80);
        EXPECT_EQ(meter.Manufacture, 0);
        EXPECT_TRUE(meter.List_Var.empty());
        EXPECT_EQ(decoder.Walk_Stop(), TWalkStop::FixedStructure);
        EXPECT_EQ(decoder.Walk_Stop_Text(), "Fixed data structure: no data records");
        // A following frame of the meter adds nothing either.
        ASSERT_EQ(decoder.Register_Wired_Meter(frame, 0, complete, meters), 0);
        EXPECT_TRUE(meters[0]->List_Var.empty());
    }
    Decoder decoder;
    TList_Slave_MBus meters;
    bool complete = false;
    ASSERT_EQ(decoder.Register_Wired_Meter(Water_Meter_Frame(), -1, complete, meters), 0);
    EXPECT_EQ(decoder.Walk_Stop(), TWalkStop::None);
    EXPECT_EQ(meters[0]->List_Var.size(), 3u);
}
