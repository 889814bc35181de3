#include "tests/playback/recording_browser.h"

#include <gtest/gtest.h>

TEST(RecordingBrowser, SeesEveryRequestInOrderRefusedOnesIncluded) {
    RecordingBrowser recorder;
    Browser& browser = recorder;
    browser.Navigate("http://radio.example/stream");
    recorder.refuse = true;
    try {
        browser.Navigate("file:///C:\\Programme\\Pages\\jazz.htm");
        FAIL() << "a refused request must throw";
    } catch (const BrowserError& error) {
        EXPECT_NE(std::string(error.what()).find("jazz.htm"), std::string::npos) << error.what();
    }
    recorder.refuse = false;
    browser.Navigate("about:blank");
    EXPECT_EQ(recorder.addresses,
              (std::vector<std::string>{"http://radio.example/stream", "file:///C:\\Programme\\Pages\\jazz.htm",
                                        "about:blank"}));
}
