#include <gtest/gtest.h>

#include "ground/Json.h"
#include "package/Sha256.h"

using namespace fw;

// What the record and the events write must read back as the same text,
// whatever a projector or a file name puts into it.
TEST(Json, TextsWrittenAreValidJsonAndReadBackTheSame)
{
    struct Case {
        std::string text;
        std::string written;
        std::string readBack;
    } cases[] = {
        {"plain", R"("plain")", "plain"},
        {"a \"quoted\" C:\\path", R"("a \"quoted\" C:\\path")", "a \"quoted\" C:\\path"},
        {"op model.name ?\r\r\nQT2416\r\n\x01\b\f", R"("op model.name ?\r\r\nQT2416\r\n\u0001\u0008\u000c")",
         "op model.name ?\r\r\nQT2416\r\n\x01\b\f"},
        {"Prüfung ä 日本", "\"Prüfung ä 日本\"", "Prüfung ä 日本"},
        // Line noise is no UTF-8: each stray byte becomes U+FFFD.
        {"QT\xFF\xC3", "\"QT\xEF\xBF\xBD\xEF\xBF\xBD\"", "QT\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xE2\x82x\\b", "\"\xEF\xBF\xBD\xEF\xBF\xBDx\\\\b\"", "\xEF\xBF\xBD\xEF\xBF\xBDx\\b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(jsonLine(Json(c.text)), c.written);
        EXPECT_EQ(jsonLine(Json::array({Json::object({{"deep", c.text}})})), "[{\"deep\":" + c.written + "}]");
        const auto value = parseJson(c.written);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->get<std::string>(), c.readBack);
    }
}

TEST(Json, ReadsWhatTheRecordHoldsAndRefusesWhatIsNotWholeJson)
{
    const auto entry =
        parseJson(R"( {"id":"a1","n":-12.5e1,"ok":true,"none":null,"list":[1,{"x":"\u00e4\ud83d\ude00"}]} )");
    ASSERT_TRUE(entry);
    EXPECT_EQ(textOf(*entry, "id"), "a1");
    EXPECT_EQ(numberOf(*entry, "n"), -125);
    EXPECT_EQ(textOf(*entry, "n", "none"), "none");
    EXPECT_EQ(numberOf(*entry, "id"), std::nullopt);
    EXPECT_EQ(numberOf(Json::array({1}), "n"), std::nullopt);
    EXPECT_EQ(textOf(entry->at("list").at(1), "x"), "ä😀");

    for (const char* damaged : {R"({"id":"a1","state":"sta)", R"({"id":"a1"} x)", "", "not json", R"({"a":01})",
                                R"({"a":"\q"})", R"({"a":"\ud800"})", "{\"a\":\"tab\there\"}", R"({"a":1,})",
                                "{\"a\":\"\xFF\"}", R"({"a":1} // note)"}) {
        EXPECT_FALSE(parseJson(damaged)) << damaged;
    }
}

// A record entry nests three deep; a hostile file's line nesting deeper
// than 33 is refused, however long it is, before it costs memory.
TEST(Json, NestingDeeperThanAnyEntryIsRefused)
{
    const auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    EXPECT_TRUE(parseJson(nested(33)));
    EXPECT_FALSE(parseJson(nested(34)));
    EXPECT_FALSE(parseJson(std::string(10'000'000, '[')));
    EXPECT_FALSE(parseJson("{\"a\":" + nested(33) + "}"));
}

// The digests any shop's sha256sum gives, fed in pieces that straddle blocks.
TEST(Sha256, KnownDigestsWhateverThePieces)
{
    struct Case {
        std::string message;
        std::size_t piece;
        const char* digest;
    } cases[] = {
        {"", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7,
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), 1000, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {std::string(64, 'a'), 64, "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
    };
    for (const Case& c : cases) {
        Sha256 sha;
        for (std::size_t at = 0; at < c.message.size(); at += c.piece)
            sha.add(std::string_view(c.message).substr(at, c.piece));
        EXPECT_EQ(sha.hex(), c.digest) << c.message.size() << " bytes";
    }
}
