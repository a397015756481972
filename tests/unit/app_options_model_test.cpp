// The options window against a store of entries with every value set,
// driven by seeded random user sessions: the program started without an
// entry or with one (dialled and connected when it can be), the window
// opened, entries selected, tabs switched, fields typed, boxes toggled,
// files browsed, new names typed, Save, Cancel, Remove, the monitoring
// switch, the statistics, time passing and Exit. A plain model says what
// the store must hold after each step; after every step:
// - every value the user did not change is stored byte for byte as before;
// - a save writes exactly the user's changes and the values derived from
//   them (the hang-up time from its hours and minutes, "NC" as 100, the
//   other mode's fields when the mode was switched);
// - nothing is written to an entry the user did not save;
// - the running line, its record and its booking change only through the
//   explicit hand-overs (saving the running entry, the monitoring switch);
// - the program ends only where it is meant to: a new entry's save (when
//   started without an entry, or with a custom entry name in its box), a
//   custom entry's save, the window closed when the program was started
//   without an entry, or the user's Exit;
// - the window never hangs up a line and never ends the program while a
//   line is up (only the user's Exit does);
// - a save writes only into the entry whose name the save button shows; a
//   save with neither "single" nor "list" ticked is refused with a message;
// - no key appears that no save made (an empty one included);
// - whenever the window is closed, the Startup folder holds "CRV - X"
//   exactly for the entries whose stored "LoadAtStartup" is 1.
// A failing sequence is shrunk to a short one and printed with its seed.
//
// CORVANE_OPTIONS_MODEL_RUNS and CORVANE_OPTIONS_MODEL_STEPS set the size of
// the run, CORVANE_OPTIONS_MODEL_SEED its first seed (the test command runs
// it briefly from seed 1; the long run's figures are in the reliability
// notes).
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "fakes/program_fixture.h"
#include "settings/entry_name.h"
#include "settings/password.h"
#include "stats/online_time_ledger.h"
#include "support/model_run.h"

namespace corvane::testing {
namespace {

using Values = std::map<std::string, std::string>;  // lower-case value name -> bytes as stored
using Tree = FakeRegistry::ValueTree;

const char* const kInstallationKey = "8302749165";
const char* const kEntryNames[] = {"Work", "Home", "Backup", "Travel"};
const char* const kNewNames[] = {"Newnet", "Spare", "Uplink"};
const char* const kCustomNames[] = {"Netz", "Dialnet"};

// Written by the booking of online time and the connection log's record of
// the line; the options window never writes them.
const std::set<std::string> kBookingValues = {"onlinetime",       "currentmonth", "currentyear",  "previousmonths",
                                              "onlinecheckpoint", "lastofftime",  "logcheckpoint"};
// Written by a save from the window's boxes (LastDialedLocation aside: it is
// no box's, so a new entry may or may not take one).
const char* const kShownValues[] = {
    "loadatstartup", "monitortime",     "uselist",      "phonelist",        "userlist",      "username",
    "phonenumber",   "enableredial",    "numberofredials", "minutes",       "seconds",       "fileurl",
    "browserpath",   "startbrowser",    "autodisconnect", "autodisconnecttime", "autoreconnect", "ontimeex1",
    "ontimeex2",     "offtimeex1",      "offtimeex2",   "disconnectanddial", "icon"};
// Their values may be kept or emptied when the user switched between single
// login and lists.
const std::set<std::string> kModeValues = {"phonelist", "userlist", "username", "phonenumber", "password"};

const std::set<std::string> kRedialValues = {"numberofredials", "minutes", "seconds"};

const char* const kStartupFolder = "C:\\Users\\me\\Start Menu\\Programs\\Startup";

std::string WithoutBlank(const std::string& bytes) {
  const size_t first = bytes.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : bytes.substr(first);
}

std::string Stored(const std::string& text) { return text + '\0'; }
std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
std::string Readable(const std::optional<std::string>& bytes) {
  return bytes ? "\"" + StripNull(*bytes) + "\"" : "<missing>";
}

// An off-time as it is stored: "NC" in any case is 100.
std::string OffTimeMeaning(const std::string& text) { return Lower(text) == "nc" ? "100" : text; }

enum class Act {
  OpenOptions, SelectEntry, TypeNewName, ClearName, SwitchTab, Type, Toggle, ChooseNextDialRule, UseList,
  UseSingle, Browse, Save, Cancel, Remove, Monitoring, Statistics, TimePasses, Exit, TypeStoredName, UntickMode,
  Count
};

const char* Name(Act act) {
  static const char* const kNames[] = {"OpenOptions", "SelectEntry", "TypeNewName",  "ClearName", "SwitchTab",
                                       "Type",        "Toggle",      "ChooseNextDialRule", "UseList", "UseSingle",
                                       "Browse",      "Save",        "Cancel",       "Remove",    "Monitoring",
                                       "Statistics",  "TimePasses",  "Exit",         "TypeStoredName", "UntickMode"};
  return kNames[static_cast<int>(act)];
}

struct Step {
  Act act;
  uint32_t value;  // which entry, field, box, tab or text
};

std::vector<Step> RandomSteps(uint32_t seed, int count) {
  std::mt19937 random(seed ^ 0x9e3779b9u);
  // Typing and toggling are what a user does most in this window.
  std::discrete_distribution<int> pick({6, 5, 2, 1, 4, 14, 8, 2, 2, 2, 3, 6, 3, 1, 2, 1, 2, 1, 3, 1});
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back({static_cast<Act>(pick(random)), static_cast<uint32_t>(random())});
  return steps;
}

// The fields a user types into: the page they are on, the box, the value
// written from it and the texts typed.
enum class Field {
  PhoneNumber, UserName, Password, Redials, RedialMinutes, RedialSeconds, HangUpHours, HangUpMinutes, Url,
  Browser, OnTime1, OnTime2, OffTime1, OffTime2, CustomName, CustomLocation, Count
};

const char* FieldName(Field field) {
  static const char* const kNames[] = {"phone number", "user name",  "password",  "redials",   "redial minutes",
                                       "redial seconds", "hang-up hours", "hang-up minutes", "URL", "browser",
                                       "on-time 1",    "on-time 2",  "off-time 1", "off-time 2", "custom name",
                                       "custom location"};
  return kNames[static_cast<int>(field)];
}

// The text a step types into `field`.
std::string TypedText(Field field, uint32_t value) {
  const uint32_t n = value / 64;
  switch (field) {
    case Field::PhoneNumber: return "555" + std::to_string(1000 + n % 9000);
    case Field::UserName: return "user" + std::to_string(n % 100);
    case Field::Password: return "pw" + std::to_string(n % 1000);
    case Field::Redials: return std::to_string(1 + n % 999);
    case Field::RedialMinutes: return std::to_string(n % 100);
    case Field::RedialSeconds: return std::to_string(1 + n % 59);
    case Field::HangUpHours: return std::to_string(1 + n % 999);
    case Field::HangUpMinutes: return std::to_string(1 + n % 59);
    case Field::Url: return "http://numbers.example/" + std::to_string(n % 100) + ".txt";
    case Field::Browser: return "C:\\Browsers\\typed" + std::to_string(n % 100) + ".exe";
    case Field::OnTime1:
    case Field::OnTime2: return std::to_string(n % 1000);
    case Field::OffTime1:
    case Field::OffTime2: return n % 5 == 0 ? "nc" : std::to_string(n % 100);
    case Field::CustomName: return kCustomNames[n % 2];
    case Field::CustomLocation: return "C:\\Dialers\\typed" + std::to_string(n % 100) + ".exe";
    case Field::Count: break;
  }
  return {};
}

// The entry a selection picks from the list, when listed: one seeded or
// one saved under a new name.
std::string SelectedName(uint32_t value) {
  const uint32_t index = value % (std::size(kEntryNames) + std::size(kNewNames));
  return index < std::size(kEntryNames) ? kEntryNames[index] : kNewNames[index - std::size(kEntryNames)];
}

// A stored (or once stored) name typed over the selector without opening
// its list, as spelt, in lower case or in upper case.
std::string TypedStoredName(uint32_t value) {
  std::string name = SelectedName(value);
  switch (value / 16 % 3) {
    case 1: for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c))); break;
    case 2: for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c))); break;
    default: break;
  }
  return name;
}

std::string Describe(const Step& step) {
  static const char* const kBoxes[] = {"chkLoad", "chkRedial", "chkBrowser", "chkAutoDisconnect", "chkAutoReconnect"};
  static const char* const kBrowsed[] = {"phone list", "user list", "custom program", "browser"};
  std::ostringstream text;
  text << Name(step.act);
  const uint32_t value = step.value;
  switch (step.act) {
    case Act::Type: {
      const auto field = static_cast<Field>(value % static_cast<uint32_t>(Field::Count));
      text << " " << FieldName(field) << " \"" << TypedText(field, value) << "\"";
      break;
    }
    case Act::SwitchTab: text << " " << 1 + value % 5; break;
    case Act::Toggle: text << " " << kBoxes[value % std::size(kBoxes)]; break;
    case Act::Browse: text << " " << kBrowsed[value % 4] << (value / 4 % 5 == 0 ? " (cancelled)" : ""); break;
    case Act::TypeNewName: text << " " << kNewNames[value % 3]; break;
    case Act::SelectEntry: text << " " << SelectedName(value); break;
    case Act::TypeStoredName: text << " \"" << TypedStoredName(value) << "\""; break;
    case Act::UntickMode: text << (value % 2 == 0 ? " chkSingle" : " chkList"); break;
    case Act::ChooseNextDialRule: text << (value % 2 == 0 ? " optNextTime" : " optDisconnect"); break;
    case Act::Monitoring: text << (value % 3 == 0 ? ", answering No" : ", answering Yes"); break;
    case Act::TimePasses: text << " " << 1 + value % 600 << " s"; break;
    default: text << "(" << value % 100000 << ")"; break;
  }
  return text.str();
}

// One run: a store of entries, the program started and restarted on fakes,
// and what the store must hold.
class Model : public ProgramFixture {
 public:
  explicit Model(uint32_t seed) : random_(seed) {
    registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Product", kInstallationKey);
    for (const char* name : kEntryNames) {
      if (random_() % 5 != 0) SeedEntry(name);
    }
    if (random_() % 2 == 0) {
      const std::string custom = kCustomNames[random_() % 2];
      registry.SetString(RegHive::CurrentUser, kSettingsRoot, "Tab4Name", custom);
      const std::string key = EntryKey("*" + custom);
      registry.SetString(RegHive::CurrentUser, key, "Location", "C:\\Dialers\\" + custom + ".exe");
      registry.SetString(RegHive::CurrentUser, key, "Tab4Name", custom);
      registry.SetString(RegHive::CurrentUser, key, "Icon", std::to_string(8 + random_() % 14));
    }
    // The Startup folder as a closed window left it.
    for (const char* name : kEntryNames) {
      const auto load = registry.RawValue(RegHive::CurrentUser, EntryKey(name), "LoadAtStartup");
      if (load == Stored("1")) shellLinks.links[kStartupFolder + std::string("\\CRV - ") + name + ".lnk"] = ShellLink{};
    }
    messages.answer = MsgResult::Yes;
    StartProgram(random_());
  }

  std::string Apply(const Step& step) {
    before_ = registry.ValuesBelow(RegHive::CurrentUser, kSettingsRoot);
    shownBefore_ = messages.shown.size();
    handOver_ = false;
    runningSaved_ = false;
    endAllowed_ = false;
    saved_ = Saved::No;
    const EntrySettings runningBefore = context->Line.RunningEntry();
    const bool connectedBefore = context->Line.IsConnected();
    const RasHandle lineBefore = context->Line.RunningConnection();
    const size_t hangUpsBefore = dialUp.hangUps.size();
    const size_t dialsBefore = dialUp.dials.size();
    act_ = step.act;

    Play(step);

    std::string broken = CheckStore();
    if (broken.empty()) broken = CheckProgram(runningBefore, connectedBefore, lineBefore, hangUpsBefore, dialsBefore);
    if (broken.empty()) broken = CheckStartupFolder();
    if (!broken.empty()) broken += " (the program was started " + life_ + ")";
    if (!context->frmDialer.Loaded()) StartProgram(step.value);
    return broken;
  }

 private:
  // What the open window shows and what the user changed in it.
  struct Session {
    std::string shownName;  // the entry whose record the window holds; empty for none
    Values base;            // that entry's values when the window loaded them
    Values changes;         // lower-case value name -> bytes the user's edits mean
    std::optional<std::string> typedPassword;
    bool modeSwitched = false;
    std::map<std::string, int> boxesAtLoad;  // check boxes the user set, as loaded
    int hangUpHours = 0, hangUpMinutes = 0;
  };

  enum class Saved { No, Ordinary, Custom };

  // --- the store ---

  void SeedEntry(const std::string& name) {
    const std::string key = EntryKey(name);
    auto set = [&](const char* value, const std::string& text) {
      registry.SetString(RegHive::CurrentUser, key, value, text);
    };
    auto flag = [&] { return std::to_string(random_() % 2); };
    const bool list = random_() % 3 == 0;
    const std::string lower = Lower(name);
    const std::string phoneList = "c:\\lists\\" + lower + "-phones.csv";
    const std::string userList = "c:\\lists\\" + lower + "-users.csv";
    files.files[phoneList] = {"City,State,PhoneNo.,", "Yuma,AZ,5203290098,", "Mesa,AZ,4805550100,"};
    files.files[userList] = {"ann,pw1", "bob,pw2"};
    // Leftovers of the other mode, as an entry switched over keeps them.
    const bool leftovers = random_() % 3 == 0;
    const std::string number = "555" + std::to_string(1000 + random_() % 9000);
    set("Icon", random_() % 3 == 0 ? "0" : std::to_string(8 + random_() % 14));
    set("UseList", list ? "1" : "0");
    set("LoadAtStartup", flag());
    set("MonitorTime", random_() % 4 == 0 ? "0" : "1");
    set("PhoneList", list || leftovers ? phoneList : "");
    set("UserList", list || leftovers ? userList : "");
    set("UserName", !list || leftovers ? "login" + std::to_string(random_() % 100) : "");
    std::string password;
    if ((!list || leftovers) && random_() % 4 != 0) {
      password = *EncodePassword("secret" + std::to_string(random_() % 100), seedStore_, messages);
    }
    set("Password", password);
    set("PhoneNumber", !list || leftovers ? number : "");
    set("LastDialedLocation", list ? "Mesa,AZ,4805550100," : (random_() % 2 == 0 ? number : ""));
    set("PhoneNumberLocation", "3");
    set("EnableRedial", flag());
    // A count the window wrote back as loaded keeps its leading blank.
    const char* blank = random_() % 2 == 0 ? " " : "";
    set("NumberOfRedials", blank + std::to_string(1 + random_() % 999));
    set("Minutes", blank + std::to_string(random_() % 100));
    set("Seconds", blank + std::to_string(1 + random_() % 59));
    set("DoNotAsk", flag());
    set("FileURL", "http://numbers.example/" + lower + ".txt");
    set("BrowserPath", "C:\\Browsers\\" + lower + ".exe");
    set("DisconnectAndDial", flag());
    set("StartBrowser", flag());
    set("AutoDisconnect", flag());
    set("AutoDisconnectTime", std::to_string((random_() % 30) * 3600 + (random_() % 60) * 60));
    set("AutoReconnect", flag());
    set("OnTimeEx1", std::to_string(random_() % 1000));
    set("OffTimeEx1", std::to_string(random_() % 101));
    const bool secondRow = random_() % 2 == 0;
    set("OnTimeEx2", secondRow ? std::to_string(random_() % 1000) : "");
    set("OffTimeEx2", secondRow ? std::to_string(random_() % 101) : "100");
    set(kCurrentMonthValue, "12,December");
    set(kCurrentYearValue, "2026");
    set(kOnlineTimeValue, std::to_string(random_() % 100000));
    set(kPreviousMonthsValue, "11,November,5400@10,October,123@");
    set(kLastOffTimeValue, std::to_string(random_() % 86400));
  }

  bool Exists(const std::string& name) const {
    return !name.empty() && before_.count(Lower(name)) != 0;
  }

  std::string Decoded(const std::string& bytes) {
    EntrySettings entry;  // UseList 0: the text is scrambled
    const auto plain = DecodePassword(StripNull(bytes), entry, seedStore_);
    return plain ? *plain : "<undecodable>";
  }

  // --- the program ---

  void StartProgram(uint32_t value) {
    context.reset();
    session_ = Session{};
    const auto stored = registry.ValuesBelow(RegHive::CurrentUser, kSettingsRoot);
    std::vector<std::string> entries;
    for (const char* name : kEntryNames) {
      if (stored.count(Lower(name)) != 0) entries.push_back(name);
    }
    startEntry_ = value % 4 == 0 || entries.empty() ? std::string() : entries[value / 4 % entries.size()];
    dialUp.connections.clear();
    Create(startEntry_);
    context->ProgramFile = "C:\\Program Files\\Corvane\\corvane.exe";
    context->frmDialer.Load();
    AppContext& app = *context;
    life_ = "without an entry";
    if (startEntry_.empty()) {
      if (app.frmOptions.Loaded()) Loaded();
      return;
    }
    DialerForm& dialer = app.frmDialer;
    if (dialer.Loaded() && dialer.cmdDial.Caption() == "&DIAL" && value % 3 != 0) dialer.cmdDial.OnUserClick();
    if (app.Line.CurrentPhase() == Phase::Dialling && value % 5 != 0) {
      dialUp.connections = {ListedLine(app.Line.Session().ConnectionHandle)};
      dialer.Form_WindowMessage(app.Line.Session().DialEventMessage, kRasStateConnected, 0);
    }
    life_ = "with '" + startEntry_ + "', " + (app.Line.IsConnected() ? "connected" : "not connected");
    // An entry that cannot be dialled as stored opens the window itself.
    if (app.frmOptions.Loaded()) Loaded();
  }

  // The window has (re)loaded the entry its selector names.
  void Loaded() {
    OptionsForm& options = context->frmOptions;
    session_ = Session{};
    session_.shownName = options.EditedEntryName;
    const auto stored = registry.ValuesBelow(RegHive::CurrentUser, kSettingsRoot);
    const auto found = stored.find(Lower(session_.shownName));
    if (!session_.shownName.empty() && found != stored.end()) session_.base = found->second;
    const auto time = session_.base.find("autodisconnecttime");
    const int seconds = time == session_.base.end() ? 0 : std::stoi(StripNull(time->second));
    session_.hangUpHours = seconds / 3600;
    session_.hangUpMinutes = (seconds - session_.hangUpHours * 3600) / 60;
  }

  void Change(const std::string& value, const std::string& text) { session_.changes[value] = Stored(text); }
  // A box the user set back to what it showed at load holds no change.
  void BoxChange(const std::string& value, int before, int after) {
    session_.boxesAtLoad.emplace(value, before);
    if (session_.boxesAtLoad.at(value) == after) {
      session_.changes.erase(value);
    } else {
      Change(value, std::to_string(after));
    }
  }

  // The user's page is selected before a field of it is used.
  void ShowTab(int tab) { context->frmOptions.tbsOptions.OnUserSelect(tab); }

  void Play(const Step& step) {
    AppContext& app = *context;
    OptionsForm& options = app.frmOptions;
    DialerForm& dialer = app.frmDialer;
    const bool open = options.Loaded();
    switch (step.act) {
      case Act::OpenOptions:
        if (!open && dialer.Loaded() && dialer.mnuOptions.Enabled()) {
          dialer.mnuOptions.OnUserClick();
          if (options.Loaded()) Loaded();
        }
        return;
      case Act::TimePasses:
        clock.monotonic += 1 + step.value % 600;
        return;
      case Act::Exit:
        endAllowed_ = true;
        dialer.mnuExit.OnUserClick();
        return;
      default:
        break;
    }
    if (!open) return;
    switch (step.act) {
      case Act::SelectEntry: {
        options.cmbSelEntry.OnUserDropDown();
        const std::vector<std::string> items = options.cmbSelEntry.Items().Texts();
        const auto item = std::find(items.begin(), items.end(), SelectedName(step.value));
        if (item == items.end()) return;
        const std::string text = options.cmbSelEntry.Text();
        options.cmbSelEntry.OnUserSelect(static_cast<int>(item - items.begin()));
        // Picking the entry shown again (in other letters) keeps what was typed.
        if (options.cmbSelEntry.Text() != text && !EqualsIgnoringCase(*item, session_.shownName)) Loaded();
        return;
      }
      case Act::TypeStoredName: {
        const std::string name = TypedStoredName(step.value);
        if (options.cmbSelEntry.Text() == name) return;
        options.cmbSelEntry.OnUserText(name);
        // A stored entry's name loads that entry, as picking it does.
        if (Exists(name) && !EqualsIgnoringCase(name, session_.shownName)) Loaded();
        return;
      }
      case Act::UntickMode: {
        ShowTab(2);
        forms::CheckBox& box = step.value % 2 == 0 ? options.chkSingle : options.chkList;
        if (!box.Enabled() || box.Value() != 1) return;
        box.OnUserValue(0);
        return;
      }
      case Act::TypeNewName: {
        const std::string name = kNewNames[step.value % 3];
        if (Exists(name)) return;
        options.cmbSelEntry.OnUserText(name);
        return;
      }
      case Act::ClearName:
        if (options.cmbSelEntry.Text().empty()) return;
        options.cmbSelEntry.OnUserText("");
        Loaded();
        return;
      case Act::SwitchTab: ShowTab(static_cast<int>(1 + step.value % 5)); return;
      case Act::Type: TypeInto(static_cast<Field>(step.value % static_cast<uint32_t>(Field::Count)), step.value); return;
      case Act::Toggle: ToggleBox(step.value); return;
      case Act::ChooseNextDialRule: {
        ShowTab(3);
        forms::OptionButton& choice = step.value % 2 == 0 ? options.optNextTime : options.optDisconnect;
        if (!choice.Enabled() || choice.Value()) return;
        choice.OnUserClick();
        Change("disconnectanddial", options.optDisconnect.Value() ? "1" : "0");
        return;
      }
      case Act::UseList:
      case Act::UseSingle: {
        ShowTab(2);
        const bool list = step.act == Act::UseList;
        forms::CheckBox& box = list ? options.chkList : options.chkSingle;
        if (!box.Enabled() || box.Value() == 1) return;
        box.OnUserValue(1);
        session_.modeSwitched = true;
        // The switch empties the boxes of the mode left, typed or not.
        static const char* const kSingleValues[] = {"username", "phonenumber"};
        static const char* const kListValues[] = {"phonelist", "userlist"};
        for (const char* value : list ? kSingleValues : kListValues) session_.changes.erase(value);
        if (list) session_.typedPassword.reset();
        Change("uselist", list ? "1" : "0");
        return;
      }
      case Act::Browse: Browse(step.value); return;
      case Act::Save: Save(); return;
      case Act::Cancel:
        endAllowed_ = startEntry_.empty();
        options.cmdCancel.OnUserClick();
        return;
      case Act::Remove: {
        const std::string typed = options.cmbSelEntry.Text();
        if (!options.cmdRemove.Enabled() || typed.empty()) return;
        // The entry whose line is up is not removed; the user is told.
        const bool live = app.Line.IsConnected() || app.Line.LineDropped();
        if (live && EqualsIgnoringCase(typed, app.Line.RunningEntryName())) {
          options.cmdRemove.OnUserClick();
          return;
        }
        removed_ = typed;
        options.cmdRemove.OnUserClick();
        // What the window shows now is no stored entry's record, or the
        // one it loaded afresh.
        Loaded();
        return;
      }
      case Act::Monitoring: {
        ShowTab(1);
        messages.answer = step.value % 3 == 0 ? MsgResult::No : MsgResult::Yes;
        const bool running = !app.Line.RunningEntryName().empty() &&
                             EqualsIgnoringCase(options.EditedEntryName, app.Line.RunningEntryName());
        handOver_ = running && app.Line.IsConnected();
        const int before = options.chkMonitorTime.Value();
        options.chkMonitorTime.OnUserValue(1 - before);
        messages.answer = MsgResult::Yes;
        BoxChange("monitortime", before, options.chkMonitorTime.Value());
        return;
      }
      case Act::Statistics:
        if (!options.cmdShowStats.Enabled()) return;
        options.cmdShowStats.OnUserClick();
        if (app.frmStatistics.Loaded()) {
          app.frmStatistics.Timer1.OnTick();
          app.frmStatistics.Unload();
        }
        return;
      default: return;
    }
  }

  void TypeInto(Field field, uint32_t value) {
    OptionsForm& options = context->frmOptions;
    const std::string text = TypedText(field, value);
    struct Box {
      int tab;
      forms::TextBox OptionsForm::*box;
      const char* stored;  // the value it is saved as; nullptr: handled below
    };
    static const Box kBoxes[] = {
        {2, &OptionsForm::txtPhoneNumber, "phonenumber"}, {2, &OptionsForm::txtUserName, "username"},
        {2, &OptionsForm::txtPassword, nullptr},          {1, &OptionsForm::TxtRedial, "numberofredials"},
        {1, &OptionsForm::txtMinutes, "minutes"},         {1, &OptionsForm::txtSeconds, "seconds"},
        {3, &OptionsForm::txtAhrs, nullptr},              {3, &OptionsForm::txtAmin, nullptr},
        {3, &OptionsForm::txtURL, "fileurl"},             {3, &OptionsForm::txtBrowser, "browserpath"},
        {3, &OptionsForm::txtOnTimeEx1, "ontimeex1"},     {3, &OptionsForm::txtOnTimeEx2, "ontimeex2"},
        {3, &OptionsForm::txtOffTimeEx1, "offtimeex1"},   {3, &OptionsForm::txtOffTimeEx2, "offtimeex2"},
        {4, &OptionsForm::txtNZentry, nullptr},           {4, &OptionsForm::txtNZlocation, nullptr},
    };
    const Box& chosen = kBoxes[static_cast<size_t>(field)];
    ShowTab(chosen.tab);
    forms::TextBox& box = options.*chosen.box;
    if (!box.Enabled() || box.Text() == text) return;
    // "nc" typed over the "NC" shown changes nothing: both mean 100.
    const bool offTime = field == Field::OffTime1 || field == Field::OffTime2;
    const bool sameMeaning = offTime && OffTimeMeaning(box.Text()) == OffTimeMeaning(text);
    box.OnUserText(text);
    if (sameMeaning) return;
    switch (field) {
      case Field::Password: session_.typedPassword = text; return;
      case Field::HangUpHours:
      case Field::HangUpMinutes:
        (field == Field::HangUpHours ? session_.hangUpHours : session_.hangUpMinutes) = std::stoi(text);
        Change("autodisconnecttime", std::to_string(session_.hangUpHours * 3600 + session_.hangUpMinutes * 60));
        return;
      case Field::OffTime1:
      case Field::OffTime2: Change(chosen.stored, OffTimeMeaning(text)); return;
      case Field::CustomName:
      case Field::CustomLocation: return;  // read from the boxes when the custom entry is saved
      default: Change(chosen.stored, text); return;
    }
  }

  void ToggleBox(uint32_t value) {
    OptionsForm& options = context->frmOptions;
    struct Box {
      int tab;
      forms::CheckBox OptionsForm::*box;
      const char* stored;
    };
    static const Box kBoxes[] = {{1, &OptionsForm::chkLoad, "loadatstartup"},
                                 {1, &OptionsForm::chkRedial, "enableredial"},
                                 {3, &OptionsForm::chkBrowser, "startbrowser"},
                                 {3, &OptionsForm::chkAutoDisconnect, "autodisconnect"},
                                 {3, &OptionsForm::chkAutoReconnect, "autoreconnect"}};
    const Box& chosen = kBoxes[value % std::size(kBoxes)];
    ShowTab(chosen.tab);
    forms::CheckBox& box = options.*chosen.box;
    if (!box.Enabled()) return;
    const int before = box.Value();
    box.OnUserValue(1 - before);
    BoxChange(chosen.stored, before, box.Value());
  }

  void Browse(uint32_t value) {
    OptionsForm& options = context->frmOptions;
    const int index = static_cast<int>(1 + value % 4);
    static const int kTabs[] = {2, 2, 4, 3};
    static const char* const kStored[] = {"phonelist", "userlist", nullptr, "browserpath"};
    ShowTab(kTabs[index - 1]);
    forms::CommandButton& button = options.cmdBrowse[static_cast<size_t>(index - 1)];
    if (!button.Enabled()) return;
    fileDialog.cancels = value / 4 % 5 == 0;
    fileDialog.chosenPath = "C:\\Chosen\\file" + std::to_string(value / 32 % 50) + (index == 4 ? ".exe" : ".csv");
    button.OnUserClick();
    if (!fileDialog.cancels && kStored[index - 1] != nullptr) Change(kStored[index - 1], fileDialog.chosenPath);
  }

  void Save() {
    OptionsForm& options = context->frmOptions;
    saveCaption_ = options.cmdOK.Caption();
    if (options.tbsOptions.SelectedTab() == 4) {
      customName_ = options.txtNZentry.Text();
      customLocation_ = options.txtNZlocation.Text();
      saved_ = Saved::Custom;
      endAllowed_ = !customName_.empty() || startEntry_.empty();
      options.cmdOK.OnUserClick();
      return;
    }
    savedName_ = options.cmbSelEntry.Text();
    const bool isNew = !savedName_.empty() && !Exists(savedName_);
    saved_ = Saved::Ordinary;
    noMode_ = options.chkSingle.Value() == 0 && options.chkList.Value() == 0;
    // A new entry's first save ends the program when it was started without
    // one, or when the custom page holds a name; closing the window ends it
    // too when it was started without one.
    endAllowed_ = startEntry_.empty() || (isNew && !options.txtNZentry.Text().empty());
    runningSaved_ = !context->Line.RunningEntryName().empty() &&
                    EqualsIgnoringCase(savedName_, context->Line.RunningEntryName());
    options.cmdOK.OnUserClick();
  }

  // --- the checks ---

  // What a save of an ordinary entry must have written under its key.
  std::string CheckSavedEntry(const Tree& after, Tree& expected) {
    const std::string key = Lower(savedName_);
    const auto written = after.find(key);
    if (written == after.end()) return "the save of '" + savedName_ + "' left no values";
    const Values& actual = written->second;
    const bool existing = Exists(savedName_);
    Values want = existing ? before_.at(key) : Values{};
    const Values& shown = session_.base;
    if (!existing) {
      for (const char* value : kShownValues) {
        const auto found = shown.find(value);
        if (found != shown.end()) want[value] = found->second;
      }
    }
    // Without a second on-time the window shows its off-time as "NC".
    if (!existing && want.count("ontimeex2") != 0 && want["ontimeex2"] == Stored("")) want["offtimeex2"] = Stored("100");
    for (const auto& [value, bytes] : session_.changes) want[value] = bytes;

    const auto mode = want.find("uselist");
    const bool listShown = mode != want.end() && StripNull(mode->second) == "1";
    const std::set<std::string> otherMode =
        listShown ? std::set<std::string>{"username", "phonenumber"} : std::set<std::string>{"phonelist", "userlist"};
    auto differs = [&](const std::string& value) -> std::string {
      const auto got = actual.find(value);
      const auto wanted = want.find(value);
      const std::optional<std::string> gotBytes =
          got == actual.end() ? std::nullopt : std::optional<std::string>(got->second);
      const std::optional<std::string> wantBytes =
          wanted == want.end() ? std::nullopt : std::optional<std::string>(wanted->second);
      if (gotBytes == wantBytes) return {};
      // A new entry takes the redial figures as shown, with or without the
      // blank a loaded figure is shown with.
      if (!existing && kRedialValues.count(value) != 0 && gotBytes && wantBytes &&
          WithoutBlank(*gotBytes) == WithoutBlank(*wantBytes)) {
        return {};
      }
      // A value that was never stored may be written empty, and stays
      // unwritten when the user's value is the default the window showed.
      if (!wantBytes && gotBytes == Stored("")) return {};
      const bool storedBefore = existing && before_.at(key).count(value) != 0;
      if (existing && !storedBefore && !gotBytes) return {};
      // The other mode's fields are no box's: a new entry may take them
      // or leave them empty, as after a switch of mode.
      const bool hidden = !existing && otherMode.count(value) != 0;
      const bool switched = (session_.modeSwitched || hidden) && kModeValues.count(value) != 0 &&
                            session_.changes.count(value) == 0;
      if (switched && (!gotBytes || gotBytes == Stored("") || (existing && gotBytes == wantBytes))) return {};
      return "'" + savedName_ + "' value " + value + " saved as " + Readable(gotBytes) + ", expected " +
             Readable(wantBytes);
    };

    std::set<std::string> names;
    for (const auto& [value, bytes] : actual) names.insert(value);
    for (const auto& [value, bytes] : want) names.insert(value);
    const bool listMode = StripNull(actual.count("uselist") ? actual.at("uselist") : "") == "1";
    for (const std::string& value : names) {
      if (value == "password") continue;
      if (!existing && kBookingValues.count(value) != 0) {
        if (actual.count(value) != 0) return "the new entry '" + savedName_ + "' took the booked value " + value;
        continue;
      }
      if (!existing && (value == "lastdialedlocation" || want.count(value) == 0)) continue;
      if (std::string broken = differs(value); !broken.empty()) return broken;
    }

    const auto password = actual.find("password");
    if (session_.typedPassword) {
      if (password == actual.end() || Decoded(password->second) != *session_.typedPassword) {
        return "'" + savedName_ + "' saved without the password typed (" +
               (password == actual.end() ? "none" : Decoded(password->second)) + ")";
      }
    } else if (existing) {
      if (std::string broken = differs("password"); !broken.empty()) return broken;
    } else if (!listMode) {
      const auto shownPassword = shown.find("password");
      const std::string carried = shownPassword == shown.end() ? "" : Decoded(shownPassword->second);
      const std::string got = password == actual.end() ? "" : Decoded(password->second);
      if (got.empty() || got != carried) {
        return "the new entry '" + savedName_ + "' was saved with the password \"" + got + "\", not the one shown (\"" +
               carried + "\")";
      }
    }
    expected[key] = actual;
    return {};
  }

  std::string CheckStore() {
    const Tree after = registry.ValuesBelow(RegHive::CurrentUser, kSettingsRoot);
    Tree expected = before_;
    const bool ended = !context->frmDialer.Loaded();
    const bool saveDone = saved_ != Saved::No && (!context->frmOptions.Loaded() || ended);
    if (saved_ != Saved::No && !saveDone) {
      if (messages.shown.size() == shownBefore_) return "Save neither saved nor said why";
    }
    if (saveDone && saved_ == Saved::Ordinary && noMode_) {
      return "a save with neither single login nor lists ticked was accepted";
    }
    if (saveDone) {
      if (std::string broken = CheckSaveCaption(after); !broken.empty()) return broken;
    }
    if (saveDone && saved_ == Saved::Ordinary) {
      if (std::string broken = CheckSavedEntry(after, expected); !broken.empty()) return broken;
    }
    if (saveDone && saved_ == Saved::Custom && !customName_.empty()) {
      expected[""]["tab4name"] = Stored(customName_);
      const std::string customKey = "*" + Lower(customName_);
      Values& custom = expected[customKey];
      // There is one custom entry: a new name takes the old key's values
      // along and the old key goes.
      for (const auto& [key, values] : before_) {
        if (key.empty() || key[0] != '*' || key == customKey) continue;
        for (const auto& [value, bytes] : values) custom[value] = bytes;
        expected.erase(key);
      }
      custom["location"] = Stored(customLocation_);
      custom["tab4name"] = Stored(customName_);
      const auto icon = after.find("*" + Lower(customName_));
      if (icon != after.end() && icon->second.count("icon") != 0) custom["icon"] = icon->second.at("icon");
    }
    if (!removed_.empty()) {
      if (after.count(Lower(removed_)) != 0 && !(saveDone && EqualsIgnoringCase(savedName_, removed_))) {
        return "Remove left the values of '" + removed_ + "'";
      }
      expected.erase(Lower(removed_));
      removed_.clear();
    }
    // The booking of the running entry moves with the monitoring switch and
    // at the program's end.
    const std::string running = Lower(context->Line.RunningEntryName());
    const bool bookingMay = handOver_ || ended;

    std::set<std::string> keys;
    for (const auto& [key, values] : after) keys.insert(key);
    for (const auto& [key, values] : expected) keys.insert(key);
    for (const std::string& key : keys) {
      if (after.count(key) == 0) return "the key '" + key + "' went";
      if (expected.count(key) == 0) return "the key '" + key + "' appeared";
      const Values none;
      const Values& got = after.count(key) != 0 ? after.at(key) : none;
      const Values& want = expected.count(key) != 0 ? expected.at(key) : none;
      std::set<std::string> names;
      for (const auto& [value, bytes] : got) names.insert(value);
      for (const auto& [value, bytes] : want) names.insert(value);
      for (const std::string& value : names) {
        const auto a = got.find(value);
        const auto b = want.find(value);
        const std::optional<std::string> gotBytes = a == got.end() ? std::nullopt : std::optional(a->second);
        const std::optional<std::string> wantBytes = b == want.end() ? std::nullopt : std::optional(b->second);
        if (gotBytes == wantBytes) continue;
        if (bookingMay && key == running && kBookingValues.count(value) != 0) continue;
        return "key '" + key + "' value " + value + " became " + Readable(gotBytes) + ", was " + Readable(wantBytes);
      }
    }
    return {};
  }

  std::string CheckProgram(const EntrySettings& runningBefore, bool connectedBefore, RasHandle lineBefore,
                           size_t hangUpsBefore, size_t dialsBefore) {
    AppContext& app = *context;
    if (!app.frmDialer.Loaded()) {
      if (!endAllowed_) return "the program ended";
      if (connectedBefore && act_ != Act::Exit) return "the options window ended the program and its line";
      return {};
    }
    if (connectedBefore) {
      if (!app.Line.IsConnected() || app.Line.RunningConnection() != lineBefore) return "the line was lost";
      if (dialUp.hangUps.size() != hangUpsBefore) return "the line was hung up";
    }
    if (dialUp.dials.size() != dialsBefore) return "a dial was started";
    if (runningSaved_ && (!app.frmOptions.Loaded())) return {};
    const EntrySettings& now = app.Line.RunningEntry();
    static const char* const kFields[] = {"Icon",         "UseList",     "LoadAtStartup", "MonitorTime",
                                          "PhoneList",    "UserList",    "UserName",      "Password",
                                          "PhoneNumber",  "EnableRedial", "NumberOfRedials", "Minutes",
                                          "Seconds",      "DoNotAsk",    "FileURL",       "DisconnectAndDial",
                                          "StartBrowser", "AutoDisconnect", "AutoDisconnectTime", "AutoReconnect"};
    for (const char* field : kFields) {
      if (handOver_ && std::string(field) == "MonitorTime") continue;
      if (StoredText(now, field) != StoredText(runningBefore, field)) {
        return std::string("the running entry's ") + field + " changed from \"" + StoredText(runningBefore, field) +
               "\" to \"" + StoredText(now, field) + "\"";
      }
    }
    return {};
  }

  // The keys a save changed are those of the name its button showed.
  std::string CheckSaveCaption(const Tree& after) const {
    const size_t open = saveCaption_.find('\'');
    const size_t close = saveCaption_.rfind('\'');
    const std::string shown = open < close ? Lower(saveCaption_.substr(open + 1, close - open - 1)) : std::string();
    for (const auto& [key, values] : after) {
      if (key.empty()) continue;
      const auto was = before_.find(key);
      if (was != before_.end() && was->second == values) continue;
      const std::string name = key[0] == '*' ? key.substr(1) : key;
      // The booking of the running entry is no save's.
      if (was != before_.end() && key == Lower(context->Line.RunningEntryName())) {
        bool onlyBooking = true;
        for (const auto& [value, bytes] : values) {
          const auto old = was->second.find(value);
          if (kBookingValues.count(value) == 0 && (old == was->second.end() || old->second != bytes)) {
            onlyBooking = false;
          }
        }
        if (onlyBooking) continue;
      }
      if (shown.empty() || name.compare(0, shown.size(), shown) != 0) {
        return "a save under the caption \"" + saveCaption_ + "\" wrote into '" + key + "'";
      }
    }
    return {};
  }

  // A closed window leaves "CRV - X" in the Startup folder exactly for the
  // entries whose stored choice is 1.
  std::string CheckStartupFolder() const {
    if (context->frmDialer.Loaded() && context->frmOptions.Loaded()) return {};
    std::set<std::string> want;
    for (const auto& [key, values] : registry.ValuesBelow(RegHive::CurrentUser, kSettingsRoot)) {
      const auto load = values.find("loadatstartup");
      if (!key.empty() && key[0] != '*' && load != values.end() && load->second == Stored("1")) want.insert(key);
    }
    std::set<std::string> got;
    const std::string prefix = Lower(kStartupFolder + std::string("\\CRV - "));
    for (const auto& [path, link] : shellLinks.links) {
      const std::string lower = Lower(path);
      if (lower.compare(0, prefix.size(), prefix) == 0) got.insert(lower.substr(prefix.size(), lower.size() - prefix.size() - 4));
    }
    for (const std::string& name : want) {
      if (got.count(name) == 0) return "no Startup shortcut for '" + name + "', whose LoadAtStartup is 1";
    }
    for (const std::string& name : got) {
      if (want.count(name) == 0) return "a Startup shortcut for '" + name + "', which is not to load at startup";
    }
    return {};
  }

  std::mt19937 random_;
  SettingsStore seedStore_{registry};
  std::string startEntry_;
  std::string life_;  // how the program now running was started
  Session session_;
  Tree before_;
  size_t shownBefore_ = 0;
  bool handOver_ = false;
  bool runningSaved_ = false;
  bool endAllowed_ = false;
  Saved saved_ = Saved::No;
  Act act_ = Act::Count;
  std::string saveCaption_;
  bool noMode_ = false;
  std::string savedName_;
  std::string customName_, customLocation_;
  std::string removed_;
};

TEST(OptionsModelTest, RandomSessionsKeepEveryStoredValue) {
  const int runs = FromEnvironment("CORVANE_OPTIONS_MODEL_RUNS", 20);
  const int stepsPerRun = FromEnvironment("CORVANE_OPTIONS_MODEL_STEPS", 200);
  const auto firstSeed = static_cast<uint32_t>(FromEnvironment("CORVANE_OPTIONS_MODEL_SEED", 1));
  const std::string failure = FirstFailingRun(
      firstSeed, runs, stepsPerRun, RandomSteps, [](uint32_t seed) { return Model(seed); }, Describe);
  EXPECT_TRUE(failure.empty()) << failure;
}

}  // namespace
}  // namespace corvane::testing
