// The program's phonebook entry "Crv" at start-up of the real program on the
// stand-in service: created with the first modem when missing, left alone
// when it exists and its device is listed, written afresh when its modem was
// replaced between two runs.
#include <gtest/gtest.h>

#include "app/dialer_ids.h"
#include "dial_standin_fixture.h"
#include "support/dialer_window.h"
#include "support/program_under_test.h"

namespace corvane::testing {
namespace {

class PhonebookStartupTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    // Without a number the dialer waits for the user instead of dialing.
    SeedEntry("Pbktest", {{"PhoneNumber", ""}, {"UseList", "0"}});
  }
  void TearDown() override {
    DeleteEntry("Pbktest");
    StandinTest::TearDown();
  }
};

TEST_F(PhonebookStartupTest, MissingCrvIsCreatedWithTheFirstModem) {
  ProgramUnderTest program("Pbktest");
  ASSERT_NE(program.MainWindow(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(phonebookPath_).find("[Crv]") != std::string::npos; }));
  const std::string book = ReadWholeFile(phonebookPath_);
  // Wine reports the NT family: the first of the two modems, never the ISDN
  // adapter listed before them.
  for (const char* line : {"DeviceType=modem\r\n", "DeviceName=Modem A\r\n", "PhoneNumber=55555555\r\n",
                           "Options=528\r\n", "CountryID=0\r\n", "CountryCode=1\r\n", "NetProtocols=7\r\n",
                           "FramingProtocol=1\r\n", "AreaCode=\r\n"}) {
    EXPECT_NE(book.find(line), std::string::npos) << line << "\nin\n" << book;
  }
}

TEST_F(PhonebookStartupTest, ExistingCrvIsLeftAlone) {
  const std::string before = "[crv]\r\nDeviceType=modem\r\nDeviceName=Modem B\r\nPhoneNumber=12345\r\n\r\n";
  {
    std::ofstream file(phonebookPath_, std::ios::binary);
    file << before;
  }
  ProgramUnderTest program("Pbktest");
  HWND dialer = program.MainWindow();
  ASSERT_NE(dialer, nullptr);
  // The program asks whether the entry exists and, on the same thread and
  // without looking at its messages, writes it or not: once it has asked and
  // then answered a message, whatever it was going to write is written.
  ASSERT_TRUE(WaitUntil([] { return Calls("validate-entry-name") >= 1; }));
  DWORD_PTR answer = 0;
  ASSERT_NE(SendMessageTimeoutA(dialer, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer), 0);
  EXPECT_EQ(ReadWholeFile(phonebookPath_), before);
}

// The modem "Crv" was written with is replaced before the second run: that
// run writes the entry afresh with the modem now there, and its dial
// connects instead of failing with 797 for good.
TEST_F(PhonebookStartupTest, ModemReplacedBetweenTwoRunsTheSecondConnects) {
  SeedEntry("Pbktest", {{"PhoneNumber", "5550100"}, {"UseList", "0"}, {"StartBrowser", "0"}, {"DoNotAsk", "1"},
                        {"Minutes", "0"}, {"Seconds", "1"}});
  for (const char* modem : {"Modem A", "Modem C"}) {
    SCOPED_TRACE(modem);
    WriteScenario(std::string("device modem ") + modem + "\n", false);
    const size_t dialsBefore = DialCount();
    ProgramUnderTest program("Pbktest");
    HWND dialer = program.MainWindow();
    ASSERT_NE(dialer, nullptr);
    ASSERT_TRUE(WaitConnected(program, dialer)) << Control("dials");
    EXPECT_EQ(DialCount(), dialsBefore + 1) << Control("dials");
    EXPECT_NE(ReadWholeFile(phonebookPath_).find(std::string("DeviceName=") + modem + "\r\n"), std::string::npos)
        << ReadWholeFile(phonebookPath_);
    PostMessageA(dialer, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_TRUE(program.WaitForExit(10000));
  }
}

}  // namespace
}  // namespace corvane::testing
