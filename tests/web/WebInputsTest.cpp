#include <gtest/gtest.h>

#include "web/FormParts.h"
#include "web/ScheduleText.h"

TEST(FormParts, ReadsTheFieldsABrowserSends) {
    const std::string body =
        "--XyZ\r\nContent-Disposition: form-data; name=\"file\"; filename=\"bulletin.txt\"\r\n"
        "Content-Type: text/plain\r\n\r\nLINE ONE\r\n-XyZ is text, --XyZ too\r\n"
        "--XyZ\r\nContent-Disposition: form-data; name=\"name\"\r\n\r\nStormWarning\r\n--XyZ--\r\n";
    auto parts = ReadFormParts("multipart/form-data; boundary=\"XyZ\"", body);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 2u);
    EXPECT_EQ((*parts)[0].name, "file");
    EXPECT_EQ((*parts)[0].fileName, "bulletin.txt");
    EXPECT_EQ((*parts)[0].body, "LINE ONE\r\n-XyZ is text, --XyZ too");
    EXPECT_EQ((*parts)[1].name, "name");
    EXPECT_EQ((*parts)[1].fileName, "");
    EXPECT_EQ((*parts)[1].body, "StormWarning");
}

TEST(FormParts, RefusesWhatIsNotTheFormAnnounced) {
    const std::string part = "--b\r\nContent-Disposition: form-data; name=\"file\"\r\n\r\nX";
    EXPECT_FALSE(ReadFormParts("multipart/form-data; boundary=b", part));
    EXPECT_FALSE(ReadFormParts("multipart/form-data; boundary=b", part + "\r\n--b"));
    EXPECT_FALSE(ReadFormParts("multipart/form-data", part + "\r\n--b--"));
    EXPECT_FALSE(ReadFormParts("multipart/form-data; boundary=c", part + "\r\n--b--"));
    EXPECT_FALSE(ReadFormParts("multipart/form-data; boundary=b",
                               "--b\r\nContent-Disposition: form-data; name=\"file\"\r\nX\r\n--b--"));
    EXPECT_FALSE(ReadFormParts("multipart/form-data; boundary=b", ""));
    EXPECT_TRUE(ReadFormParts("multipart/form-data; boundary=b", part + "\r\n--b--"));
}

TEST(ScheduleText, RefusesTheFirstLineTheReaderWouldNotTakeByItsNumber) {
    EXPECT_FALSE(ScheduleText::Check(""));
    EXPECT_FALSE(ScheduleText::Check("thefox.txt\r\n\r\n$RYRY\n12/24/2030 18:00:00 header.txt\n\n"));
    auto twoWords = ScheduleText::Check("thefox.txt\nthefox.txt extra\n12/24/2030 18:00:00 x.txt\n");
    ASSERT_TRUE(twoWords);
    EXPECT_EQ(twoWords->line, 2);
    EXPECT_EQ(twoWords->text, "two words: give a file alone, or date, time and file");
    auto badDate = ScheduleText::Check("a.txt\r\nb.txt\r\n13/45/2030 18:00:00 x.txt\r\n");
    ASSERT_TRUE(badDate);
    EXPECT_EQ(badDate->line, 3);
    EXPECT_EQ(badDate->text, "date and time not as MM/DD/YYYY HH:MM:SS");
    auto tooLong = ScheduleText::Check("a.txt\n" + std::string(255, 'x') + "\n");
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->line, 2);
    EXPECT_FALSE(ScheduleText::Check(std::string(254, 'x')));
    auto nul = ScheduleText::Check(std::string("a.txt\nb\0c.txt\n", 14));
    ASSERT_TRUE(nul);
    EXPECT_EQ(nul->line, 2);
}
