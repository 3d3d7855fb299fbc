#include "web/WebAccess.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

std::string basic(const std::string& userAndPassword) {
    return "Basic " + QByteArray::fromStdString(userAndPassword).toBase64().toStdString();
}

}  // namespace

TEST(WebAccess, ListensBeyondThisMachineOnlyWithAPassword) {
    EXPECT_FALSE(WebAccess::ListenRefusal("127.0.0.1", ""));
    EXPECT_FALSE(WebAccess::ListenRefusal("127.0.0.2", ""));
    EXPECT_FALSE(WebAccess::ListenRefusal("0.0.0.0", "s3cret"));
    EXPECT_FALSE(WebAccess::ListenRefusal("192.168.1.5", "s3cret"));
    ASSERT_TRUE(WebAccess::ListenRefusal("0.0.0.0", ""));
    EXPECT_EQ(*WebAccess::ListenRefusal("0.0.0.0", ""),
              "KOVAWebAddress 0.0.0.0 is beyond this machine and KOVAWebPassword is empty");
    EXPECT_EQ(*WebAccess::ListenRefusal("10.0.0.1", ""),
              "KOVAWebAddress 10.0.0.1 is beyond this machine and KOVAWebPassword is empty");
    EXPECT_EQ(*WebAccess::ListenRefusal("station.example", "s3cret"),
              "KOVAWebAddress \"station.example\" is not an IPv4 address");
    EXPECT_TRUE(WebAccess::ListenRefusal("", ""));
}

TEST(WebAccess, TakesThePasswordUnderAnyUserNameAndNothingElse) {
    EXPECT_TRUE(WebAccess::PasswordGiven(basic("op:s3cret"), "s3cret"));
    EXPECT_TRUE(WebAccess::PasswordGiven(basic(":s3cret"), "s3cret"));
    EXPECT_TRUE(WebAccess::PasswordGiven("basic " + basic("x:s3cret").substr(6), "s3cret"));
    // The first colon ends the user name; the password may hold colons.
    EXPECT_TRUE(WebAccess::PasswordGiven(basic("op:a:b"), "a:b"));
    EXPECT_FALSE(WebAccess::PasswordGiven(basic("op:s3cre"), "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven(basic("op:s3cret2"), "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven(basic("op:"), "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven(basic("s3cret"), "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven("Bearer s3cret", "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven("Basic !!!not base64", "s3cret"));
    EXPECT_FALSE(WebAccess::PasswordGiven("", "s3cret"));
}

TEST(WebAccess, ChangesComeOnlyFromTheStationsOwnPage) {
    EXPECT_TRUE(WebAccess::OriginIsOwnPage("", "127.0.0.1:8073"));
    EXPECT_TRUE(WebAccess::OriginIsOwnPage("http://127.0.0.1:8073", "127.0.0.1:8073"));
    // Behind a TLS proxy the browser's origin is https and the station speaks http.
    EXPECT_TRUE(WebAccess::OriginIsOwnPage("https://Station.Example", "station.example"));
    EXPECT_FALSE(WebAccess::OriginIsOwnPage("http://evil.example", "127.0.0.1:8073"));
    EXPECT_FALSE(WebAccess::OriginIsOwnPage("http://127.0.0.1:9999", "127.0.0.1:8073"));
    EXPECT_FALSE(WebAccess::OriginIsOwnPage("null", "127.0.0.1:8073"));

    using WebAccess::BodyKind;
    EXPECT_EQ(WebAccess::KindOfBody("application/json"), BodyKind::Json);
    EXPECT_EQ(WebAccess::KindOfBody("Application/JSON; charset=utf-8"), BodyKind::Json);
    EXPECT_EQ(WebAccess::KindOfBody("application/octet-stream"), BodyKind::Upload);
    EXPECT_EQ(WebAccess::KindOfBody("multipart/form-data; boundary=x"), BodyKind::Form);
    // What a page of another site may send without asking first.
    EXPECT_EQ(WebAccess::KindOfBody("text/plain"), BodyKind::Refused);
    EXPECT_EQ(WebAccess::KindOfBody("application/x-www-form-urlencoded"), BodyKind::Refused);
    EXPECT_EQ(WebAccess::KindOfBody(""), BodyKind::Refused);
}
