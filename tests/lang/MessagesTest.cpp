#include "lang/Messages.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/Services.h"
#include "support/AppFixture.h"

namespace lumetra {
namespace {

class MessagesTest : public test::AppFixture {
  protected:
    void SetUp() override {
        useLanguage(
            "[GUI]\nTitle=Caption\n"
            "[Messages]\nImgErr=Cannot read %1%.\n"
            "PrjTooNew=%1% is %2%, we are %3% (%1%)\n"
            "NoImagesAdded=Nothing %1% here\n"
            "FlashNotFound=Missing.%br%See %1%\n");
    }
};

TEST_F(MessagesTest, FillsPlaceholdersInOnePass) {
    namespace m = lang::messages;
    struct {
        lang::LangKey key;
        std::initializer_list<std::string_view> values;
        std::string expected;
    } cases[] = {
        {m::kImgErr, {"/a/%2%.png"}, "Cannot read /a/%2%.png."},
        {m::kPrjTooNew, {"p.lmx", "3.4", "3.3.1"}, "p.lmx is 3.4, we are 3.3.1 (p.lmx)"},
        // A token the key does not carry is text, not a hole.
        {m::kNoImagesAdded, {}, "Nothing %1% here"},
        {m::kFlashNotFound, {"%br%"}, "Missing.\nSee %br%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.key);
        EXPECT_EQ(MessageText(app.language, c.key, c.values), c.expected);
    }
}

TEST_F(MessagesTest, WrongNumberOfValuesIsRefusedBeforeAnythingShows) {
    EXPECT_THROW(MessageText(app.language, lang::messages::kImgErr, {}), std::logic_error);
    EXPECT_THROW(app.Message(lang::messages::kNoImagesAdded, mb::kInformation, {"x"}),
                 std::logic_error);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(MessagesTest, ShowsWithCaptionAndKind) {
    app.Message(lang::messages::kImgErr, mb::kError, {"x.png"});
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].caption, "Caption");
    EXPECT_EQ(services.messages[0].text, "Cannot read x.png.");
    EXPECT_EQ(services.messages[0].flags, mb::kError);
}

}  // namespace
}  // namespace lumetra
