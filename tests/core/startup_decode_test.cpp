// The embedded-code entry read back: pieces of two digits, "00" pieces, line breaks, bad pieces.
#include <gtest/gtest.h>

#include "resources/embedded_code.h"
#include "rtl/errors.h"

namespace trel {
namespace {

// The decoded text, and the error that stopped decoding (empty when none did).
std::pair<std::string, std::string> decode(std::string_view entry) {
  std::string program;
  try {
    decodeEmbeddedCode(entry, program);
  } catch (const Error& e) {
    return {program, e.what()};
  }
  return {program, ""};
}

TEST(StartupDecode, EntriesAsTheBuilderWritesThem) {
  EXPECT_EQ(decode("2F2F41"), std::make_pair(std::string("//A"), std::string()));
  EXPECT_EQ(decode("2F2F410D0A").first, "//A\r\n");
  EXPECT_EQ(decode("").first, "");
  EXPECT_EQ(encodeEmbeddedCode("//A\r\n"), "2F2F410D0A");
  std::string every;
  for (int c = 1; c < 256; ++c) every.push_back(static_cast<char>(c));
  EXPECT_EQ(encodeEmbeddedCode(every).size(), 2 * every.size());
  EXPECT_EQ(decode(encodeEmbeddedCode(every)).first, every);
}

TEST(StartupDecode, PiecesOfValueZeroVanish) {
  EXPECT_EQ(decode("002F002F41").first, "//A");
  EXPECT_EQ(decode("00").first, "");
  // A zero character of a program is lost on the way: the same as a program without it.
  EXPECT_EQ(decode(encodeEmbeddedCode(std::string("a\0b", 3))).first, "ab");
}

TEST(StartupDecode, ALastSingleDigitIsAPieceOfItsOwn) {
  EXPECT_EQ(decode("2F4").first, "/\x04");
  EXPECT_EQ(decode("410").first, "A");       // "0" is zero and adds nothing
  EXPECT_EQ(decode("2f2F6a").first, "//j");  // either case
}

TEST(StartupDecode, OnlyTheTextBeforeTheFirstLineBreakIsRead) {
  EXPECT_EQ(decode("2F2F\r\n41").first, "//");
  EXPECT_EQ(decode("2F2F\nZZ"), std::make_pair(std::string("//"), std::string()));
  EXPECT_EQ(decode("2F\r41").first, "/");
  EXPECT_EQ(decode(std::string_view("41\0"
                                    "42",
                                    5))
                .first,
            "A");
}

TEST(StartupDecode, ABadPieceStopsDecodingAndNamesThePiece) {
  EXPECT_EQ(decode("NOCODE"),
            std::make_pair(std::string(), std::string("'NO' is not a valid integer value")));
  EXPECT_EQ(decode("41422G43"),
            std::make_pair(std::string("AB"), std::string("'2G' is not a valid integer value")));
  EXPECT_EQ(decode("4142G").second, "'G' is not a valid integer value");
  // Pieces an integer reader would take with a sign, a blank or a prefix are no hexadecimal digits.
  for (const char* piece : {"-1", "+1", " 1", "$1", "x1", "1 "})
    EXPECT_EQ(decode(std::string("41") + piece).second,
              "'" + std::string(piece) + "' is not a valid integer value")
        << piece;
}

TEST(StartupDecode, LongEntriesAreReadWhole) {
  std::string program(30000, 'x');
  program += "\r\nHALT";
  EXPECT_EQ(decode(encodeEmbeddedCode(program)).first, program);
}

}  // namespace
}  // namespace trel
