#include "platform/media/MpvLogClassifier.h"

#include <gtest/gtest.h>

namespace {
using Failure = IMediaEngine::Failure;

Failure Classify(std::initializer_list<const char*> lines)
{
    CMpvLogClassifier classifier;
    for (const char* line : lines)
        classifier.Feed(line);
    return classifier.Result();
}

// The lines are libmpv's own, as it logs them while an address fails to open.
TEST(MpvLogClassifier, ReadsTheHttpStatus)
{
    EXPECT_EQ(Failure::NotFound,
              Classify({"Opening http://127.0.0.1:8580/streams/none\n",
                        "tcp: Successfully connected to 127.0.0.1 port 8580\n", "http: HTTP error 404 Not Found\n"}));
    EXPECT_EQ(Failure::NotFound, Classify({"http: HTTP error 410 Gone\n"}));
    EXPECT_EQ(Failure::AccessDenied, Classify({"http: HTTP error 403 Forbidden\n"}));
    EXPECT_EQ(Failure::AccessDenied, Classify({"http: HTTP error 401 Unauthorized\n"}));
    EXPECT_EQ(Failure::ServerError, Classify({"http: HTTP error 503 Service Unavailable\n"}));
    EXPECT_EQ(Failure::Other, Classify({"http: HTTP error 400 Bad Request\n"}));
}

TEST(MpvLogClassifier, TellsConnectionFailuresApart)
{
    EXPECT_EQ(Failure::CannotConnect,
              Classify({"tcp: Starting connection attempt to 127.0.0.1 port 1\n",
                        "tcp: Connection to tcp://127.0.0.1:1 failed: Connection refused\n"}));
    EXPECT_EQ(Failure::CannotConnect,
              Classify({"tcp: Failed to resolve hostname nowhere.invalid: Name or service not known\n"}));
    // Connected, then silence until the network timeout.
    EXPECT_EQ(Failure::TimedOut, Classify({"tcp: Successfully connected to 127.0.0.1 port 8580\n"}));
    EXPECT_EQ(Failure::TimedOut, Classify({"tcp: Connection to tcp://10.1.1.1:80 failed: Connection timed out\n"}));
}

TEST(MpvLogClassifier, KeepsTheMostSpecificCause)
{
    CMpvLogClassifier classifier;
    classifier.Feed("http: HTTP error 404 Not Found\n");
    classifier.NoteUnsupportedFormat();
    classifier.Feed("tcp: Connection to tcp://127.0.0.1:1 failed: Connection refused\n");
    EXPECT_EQ(Failure::NotFound, classifier.Result());

    classifier.Reset();
    classifier.Feed("tcp: Successfully connected to 127.0.0.1 port 8580\n");
    classifier.Feed("Mime-type: 'text/plain'\n");
    classifier.NoteUnsupportedFormat();
    EXPECT_EQ(Failure::UnsupportedFormat, classifier.Result());
}

TEST(MpvLogClassifier, ARedirectThatIsNotFollowedIsARefusedAddress)
{
    EXPECT_EQ(Failure::AddressRefused,
              Classify({"tcp: Successfully connected to 127.0.0.1 port 8580\n", "http: http_code=302\n",
                        "http: header='Location: file:///etc/passwd'\n",
                        "Failed to open http://127.0.0.1:8580/redirect.\n"}));
    EXPECT_EQ(Failure::AddressRefused, Classify({"http: header='Location: rtmp://127.0.0.1/live'\n"}));
    // Redirects to the web are followed; what happens there decides.
    EXPECT_EQ(
        Failure::NotFound,
        Classify({"http: header='Location: https://127.0.0.1:8443/moved'\n", "http: HTTP error 404 Not Found\n"}));
    EXPECT_EQ(Failure::TimedOut,
              Classify({"tcp: Successfully connected to 127.0.0.1 port 8580\n", "http: header='Location: /elsewhere'\n",
                        "tcp: Connection to tcp://127.0.0.1:8580 failed: Connection timed out\n"}));
}

TEST(MpvLogClassifier, AStreamThatEndsAfterItsHeadersIsEmptyNotUnplayable)
{
    CMpvLogClassifier classifier;
    classifier.Feed("tcp: Successfully connected to 127.0.0.1 port 8580\n");
    classifier.Feed("Mime-type: 'audio/mpeg'\n");
    classifier.NoteUnsupportedFormat();
    classifier.Feed("http: Stream ends prematurely at 0, should be 18446744073709551615\n");
    EXPECT_EQ(Failure::EmptyStream, classifier.Result());

    // Some bytes came, and they were no sound.
    EXPECT_EQ(Failure::Other, Classify({"http: Stream ends prematurely at 4096, should be 8192\n"}));
}

TEST(MpvLogClassifier, AnAnsweredOpeningWithoutACauseIsOther)
{
    EXPECT_EQ(Failure::Other,
              Classify({"tcp: Successfully connected to 127.0.0.1 port 8580\n", "Stream opened successfully.\n"}));
    EXPECT_EQ(Failure::Other, Classify({}));
}
}
