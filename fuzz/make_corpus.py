#!/usr/bin/env python3
"""Writes the hand-picked seed corpus of each fuzz target to fuzz/corpus/<target>/.

Each file is named after the case it guards. Run from anywhere; existing files
of the same name are overwritten, others are left alone (files that the fuzzer
found and that were kept on purpose live beside these).
"""
import math
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"

FW = {c: bytes([0xA3, ord(c) + 0x80]) for c in "0123456789.+-eEdD"}


def full_width(text):
    return b"".join(FW[c] for c in text)


def write(target, name, data):
    folder = ROOT / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


# parse_single: the text is the input up to its first NUL.
PARSE = {
    "worked_25_4": b"25.4",
    "worked_0_7": b"0.7",
    "full_width_0_7": full_width("0") + b"." + full_width("7"),
    "full_width_7_5": full_width("7.5"),
    "ideographic_space_12": b"\xA1\xA1" + full_width("12"),
    "tie_to_even_single_16777217": b"16777217",
    "just_above_tie_16777217_000000001": b"16777217.000000001",
    "double_tie_toward_zero_9007200865353727": b"9007200865353727",
    "overflow_1e39": b"1e39",
    "overflow_negative": b"-1e39",
    "underflow_1e-46": b"1e-46",
    "negative_zero": b"-0",
    "sign_without_digits": b"-x",
    "empty": b"",
    "leading_blanks": b"   7",
    "all_blank_kinds": b"\t\n\x0b\x0c\r 5",
    "plus_point_five": b"+.5",
    "trailing_point": b"5.",
    "lone_point": b".",
    "lone_minus": b"-",
    "exponent_letters": b"1E+3",
    "exponent_d": b"1d3",
    "exponent_D_full_width": full_width("1D3"),
    "exponent_without_digits": b"1e",
    "exponent_sign_without_digits": b"1e+",
    "exponent_then_junk": b"2.5e-1x",
    "hex_is_not_a_number": b"0x10",
    "inf_is_not_a_number": b"inf",
    "comma_ends_number": b"1,000",
    "ratio_text": b"16:9",
    "second_exponent_ignored": b"1e5e3",
    "lone_lead_byte_at_end": b"12\xA3",
    "nul_after_lead_byte": b"12\xA3\x00\xB4",
    "unfolded_pair_ends_number": b"1\xA1\xAA2",
    "ascii_trail_byte_not_a_digit": b"\x81\x35" b"5",
    "full_width_minus_exponent": full_width("-1e-3"),
    "yen_and_star_fold": b"\xA3\xA4\xA1\xEE" b"3",
    "cut_at_25_digits_rounds_down": b"1.000000000000000000000004999",
    "cut_at_25_digits_rounds_up": b"1.000000000000000000000005000",
    "carry_through_24_nines": b"999999999999999999999999500",
    "many_leading_zeros": b"0.0000000000000000000000000000000000000000000000000001e50",
    "huge_exponent_saturates": b"1e99999999999999999999999",
    "tiny_exponent_saturates": b"1e-99999999999999999999999",
    "zero_with_huge_exponent": b"-0e999999",
    "smallest_subnormal_single": b"1.401298464324817e-45",
    "half_smallest_subnormal_goes_to_zero": b"7.006492321624085e-46",
    "largest_single_plus_half_ulp_overflows": b"340282356779733661637539395458142568448",
    "just_below_overflow": b"340282356779733661637539395458142568447",
    "long_integer_40_digits": b"1234567890123456789012345678901234567890",
    "long_fraction": b"0." + b"3" * 200,
}

# format_number: 8 bytes of a double (little-endian bit pattern), then one
# byte that picks round_places' places as byte % 12 - 3.
def places_byte(places):
    return bytes([places + 3])


def f64(value):
    return struct.pack("<d", value)


def bits(pattern):
    return struct.pack("<Q", pattern)


FORMAT = {
    "worked_2_9": f64(2.9) + places_byte(1),
    "hundred": f64(100.0) + places_byte(1),
    "thirteen_digits": f64(1234567890123.0) + places_byte(0),
    "fraction_cut": f64(123456789012.34567) + places_byte(1),
    "exponent_form": f64(12345678901234.0) + places_byte(4),
    "carry_to_exponent_form": f64(9999999999999.5) + places_byte(0),
    "carry_to_ten": f64(9.99999999999995) + places_byte(4),
    "plain_smallest": f64(0.0001) + places_byte(4),
    "exponent_smallest": f64(0.00001) + places_byte(4),
    "small_exponent": f64(0.00000015) + places_byte(1),
    "e_plus_020": f64(1e20) + places_byte(1),
    "e_plus_100": f64(1e100) + places_byte(1),
    "sum_of_tenth_and_fifth": f64(0.1 + 0.2) + places_byte(1),
    "negative": f64(-2.5) + places_byte(0),
    "two_roundings": f64(1000000000.0005) + places_byte(4),
    "smallest_subnormal": bits(1) + places_byte(4),
    "largest_subnormal": bits((1 << 52) - 1) + places_byte(1),
    "smallest_normal": bits(1 << 52) + places_byte(1),
    "largest_double": f64(1.7976931348623157e308) + places_byte(4),
    "largest_negative": f64(-1.7976931348623157e308) + places_byte(-3),
    "plus_inf": f64(math.inf) + places_byte(1),
    "minus_inf": f64(-math.inf) + places_byte(1),
    "default_nan": bits(0xFFF8000000000000) + places_byte(1),
    "positive_quiet_nan": bits(0x7FF8000000000001) + places_byte(1),
    "signalling_nan": bits(0x7FF0000000000001) + places_byte(1),
    "negative_signalling_nan": bits(0xFFF4000000000000) + places_byte(1),
    "plus_zero": f64(0.0) + places_byte(1),
    "minus_zero": f64(-0.0) + places_byte(4),
    "short_input_pads_with_zeros": b"\x9a\x99",
    "half_away_2_25": f64(2.25) + places_byte(1),
    "half_away_negative": f64(-2.25) + places_byte(1),
    "just_above_half_2_35": f64(2.35) + places_byte(1),
    "nudge_lifts": f64(0.04999999999995) + places_byte(1),
    "four_places": f64(12345.678951) + places_byte(4),
    "four_places_up": f64(0.00005) + places_byte(4),
    "four_places_to_zero": f64(0.000049999999995) + places_byte(4),
    "no_places": f64(2.5) + places_byte(0),
    "minus_one_place": f64(1234.5) + places_byte(-1),
    "scaled_overflow": f64(1e308) + places_byte(4),
    "eight_places": f64(3.14159265358979) + places_byte(8),
    "nudge_lost_above_16384": f64(16384.04999999999) + places_byte(1),
}

# join_text: parts cut at each NUL (at most 8); 01 is an absent part, 02 a
# long text.
JOIN = {
    "worked_range": b"2.9\x00\xA1\xAA\x004.3\x00\xC3\xD7",
    "absent_part_skipped": b"\xA1\xAA\x00\x01\x00\xC3\xD7",
    "all_absent": b"\x01\x00\x01\x00\x01",
    "all_empty": b"\x00\x00",
    "single_empty": b"",
    "credit_text": b"\xD7\xF7\xD5\xDFDovrane",
    "eight_parts": b"a\x00b\x00c\x00d\x00e\x00f\x00g\x00h",
    "more_than_eight_parts": b"1\x002\x003\x004\x005\x006\x007\x008\x009\x0010",
    "lone_lead_bytes": b"\xA3\x00\xB4\x00\xFF",
    "megabyte_part": b"x\x00\x02\x00y",
    "two_megabyte_parts": b"\x02\x00\x01\x00\x02",
}


# Rows: byte 0 (FF: 1 MiB, FE: 64 KiB long text), byte 1 (which input box
# grows), then for each input box a length byte (FF: two more, little-endian)
# and its bytes.
def row(*boxes, grow=0, grown=0):
    out = bytes([grow, grown])
    for box in boxes:
        if len(box) < 0xFF:
            out += bytes([len(box)]) + box
        else:
            out += b"\xFF" + struct.pack("<H", len(box)) + box
    return out


RANGE_ROW = {  # left focal, other (image diagonal or throw distance), chip, right focal
    "worked": (b"20", b"100", b"0.7", b"30"),
    "all_empty": (b"", b"", b"", b""),
    "chip_zero_infinities": (b"20", b"100", b"", b"30"),
    "full_width": (full_width("20"), b"100", full_width("0.7"), b"30"),
    "nul_inside_box": (b"2\x000", b"100", b"0.7", b"30"),
    "lone_lead_bytes": (b"\xA3", b"\xFF", b"1\xA3", b"\x80"),
    "units_typed": (b"20mm", b"100in", b"0.7in", b"30mm"),
    "negative": (b"-20", b"100", b"0.7", b"30"),
    "overflow": (b"3e38", b"3e38", b"1e-45", b"1e38"),
    "tiny": (b"1e-45", b"1e-40", b"3e38", b"1e-45"),
    "long_digits": (b"1" * 300, b"9" * 40, b"0." + b"7" * 60, b"3" * 26),
}


def write_rows():
    for target, order in (
        ("throw_distance", (0, 1, 2, 3)),  # boxes 1, 2, 3, 5: focal, image, chip, focal
        ("image_size", (1, 2, 0, 3)),      # boxes 11, 8, 10, 6: throw, chip, focal, focal
    ):
        for name, values in RANGE_ROW.items():
            write(target, name, row(*(values[i] for i in order)))
        write(target, "megabyte_digits", row(b"20", b"1", b"0.7", b"30", grow=0xFF, grown=0))
        write(target, "megabyte_full_width", row(full_width("1"), b"100", b"0.7", b"30",
                                                 grow=0xFF, grown=1))
        write(target, "long_lead_bytes", row(b"20", b"100", b"\xA3", b"30", grow=0xFE, grown=2))
        write(target, "two_byte_length", row(b"20", b"1" * 300, b"0.7", b"30"))
    screen = {
        "worked": (b"100", b"16", b"9"),
        "all_empty_nan": (b"", b"", b""),
        "ratio_typed_in_one_box": (b"100", b"16:9", b""),
        "full_width": (full_width("100"), full_width("4"), full_width("3")),
        "negative_diagonal": (b"-100", b"16", b"9"),
        "nul_and_lead_bytes": (b"1\x0000", b"\xA3", b"9\xFF"),
        "squares_overflow_double": (b"3e38", b"3e38", b"3e38"),
        "tiny_ratio": (b"100", b"1e-45", b"1e-45"),
        "long_digits": (b"1" * 300, b"1" * 40, b"0." + b"9" * 60),
    }
    for name, values in screen.items():
        write("screen_sides", name, row(*values))
    write("screen_sides", "megabyte_digits", row(b"5", b"16", b"9", grow=0xFF, grown=0))
    write("screen_sides", "long_lead_bytes", row(b"100", b"\xA3", b"9", grow=0xFE, grown=1))


def main():
    for name, data in PARSE.items():
        write("parse_single", name, data)
    for name, data in FORMAT.items():
        write("format_number", name, data)
    for name, data in JOIN.items():
        write("join_text", name, data)
    write_rows()


if __name__ == "__main__":
    main()
