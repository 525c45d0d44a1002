#include "frontend/payload_input.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"
#include "payload/payload_kinds.h"

#include <gtest/gtest.h>

TEST(PayloadInput, EachStandardSetsItsLevelSizeModeAndEci)
{
    struct row {
        int kind, image_type, dpi;
        int level, eight_bit, eci, utf8;
        int64_t size_nm;
    };
    const row rows[] = {
        {payload_swiss, image_svg, 0, QR_ECLEVEL_M, 1, eci_none, 0, 46 * nm_per_mm},
        {payload_epc, image_emf, 0, QR_ECLEVEL_M, 1, eci_none, 0, 0},
        {payload_ticketbai, image_png, 300, QR_ECLEVEL_M, 0, eci_none, 0, 35 * nm_per_mm},
        {payload_verifactu, image_png, 0, QR_ECLEVEL_M, 0, eci_none, 0, 0},
        {payload_vcard, image_emf, 0, QR_ECLEVEL_Q, 0, eci_auto, 1, 0},
    };
    for (const row& r : rows) {
        reset_run_settings();
        run_settings.payload_kind = r.kind;
        run_settings.image_type = r.image_type;
        run_settings.dpi = r.dpi;
        EXPECT_EQ(apply_payload_settings(false), 0);
        const run_settings_t& s = run_settings;
        EXPECT_EQ((std::vector<int64_t>{s.level, s.eight_bit, s.eci, s.utf8, s.print_size_nm}),
                  (std::vector<int64_t>{r.level, r.eight_bit, r.eci, r.utf8, r.size_nm}))
            << r.kind;
    }
    reset_run_settings();
    run_settings.payload_kind = payload_swiss;
    run_settings.utf8 = 1;
    run_settings.eci = 26;
    run_settings.print_size_nm = 46 * nm_per_mm;
    EXPECT_EQ(apply_payload_settings(true), 1105);  // the level given is Q
    run_settings.level = QR_ECLEVEL_M;
    EXPECT_EQ(apply_payload_settings(true), 0);
    EXPECT_EQ((std::vector<int>{run_settings.eci, run_settings.utf8}), (std::vector<int>{26, 0}));
    reset_run_settings();
}

TEST(PayloadInput, AStandardsVersionLimitRefusesALargerSymbol)
{
    run_settings.payload_kind = payload_epc;
    QRcode* symbol = QRcode_encodeString("A", 13, QR_ECLEVEL_M, QR_MODE_8, 1);
    EXPECT_EQ(within_payload_version(symbol), symbol);
    QRcode_free(symbol);
    EXPECT_EQ(within_payload_version(QRcode_encodeString("A", 14, QR_ECLEVEL_M, QR_MODE_8, 1)), nullptr);
    run_settings.payload_kind = payload_swiss;
    EXPECT_EQ(within_payload_version(QRcode_encodeString("A", 26, QR_ECLEVEL_M, QR_MODE_8, 1)), nullptr);
    run_settings.payload_kind = payload_vcard;
    symbol = QRcode_encodeString("A", 40, QR_ECLEVEL_M, QR_MODE_8, 1);
    EXPECT_EQ(within_payload_version(symbol), symbol);
    QRcode_free(symbol);
    EXPECT_EQ(within_payload_version(nullptr), nullptr);
    reset_run_settings();
}
