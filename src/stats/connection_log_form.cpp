// frmConnectionLog: layout, the choice of month and entry, sorting, totals
// and the export.
#include "stats/connection_log_form.h"

#include <initializer_list>

#include "stats/connection_log_chart.h"
#include "stats/duration_text.h"
#include "stats/money_text.h"

namespace corvane {

namespace {

constexpr int kWidth = 12300;
constexpr int kHeight = 6600;
constexpr int kMargin = 120;
constexpr int kRowHeight = 315;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kChartHeight = 1500;

struct ColumnSpec {
  const char* header;
  int width;  // twips
};

constexpr ColumnSpec kColumns[] = {
    {"Started", 1950}, {"Ended", 1950}, {"Duration", 900}, {"Entry", 1000},    {"Number", 1000},
    {"Login", 800},    {"Speed", 700},  {"Sent", 1000},    {"Received", 1000}, {"Ended by", 1250},
    {"Cost", 800},
};

std::string Thousands(uint64_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

}  // namespace

ConnectionLogForm::ConnectionLogForm(ConnectionLogSources sources)
    : Form("frmConnectionLog", IDD_CONNECTION_LOG), sources_(sources) {
  Move(0, 0, kWidth, kHeight);
  SetCaption("Connection Log");
  lblMonth.SetCaption("&Month:");
  lblEntry.SetCaption("&Entry:");
  cmdExport.SetCaption("&Export...");
  cmdClose.SetCaption("&Close");
  for (const ColumnSpec& column : kColumns) lvwLog.AddColumn(column.header, column.width);

  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblMonth, &cmbMonth, &lblEntry, &cmbEntry, &lvwLog, &chtDays, &lblTotals, &cmdExport, &cmdClose}) {
    Register(*control);
  }
  cmbMonth.Click = [this] { cmbMonth_Click(); };
  cmbEntry.Click = [this] { cmbEntry_Click(); };
  lvwLog.ColumnClick = [this](int column) { lvwLog_ColumnClick(column); };
  cmdExport.Click = [this] { cmdExport_Click(); };
  cmdClose.Click = [this] { cmdClose_Click(); };
  Form_Resize();
}

// The list takes whatever room the window has; the choices stay on top,
// the chart (for a single month) under the list, the totals and buttons at
// the bottom.
void ConnectionLogForm::Form_Resize() {
  const int width = ScaleWidth() > 0 ? ScaleWidth() : kWidth;
  const int height = ScaleHeight() > 0 ? ScaleHeight() : kHeight;
  lblMonth.Move(kMargin, kMargin + 45, 700, kRowHeight);
  cmbMonth.Move(kMargin + 720, kMargin, 2400, kRowHeight);
  lblEntry.Move(kMargin + 3360, kMargin + 45, 600, kRowHeight);
  cmbEntry.Move(kMargin + 3960, kMargin, 2400, kRowHeight);
  const int listTop = kMargin + kRowHeight + kMargin;
  const int bottom = height - kMargin - kButtonHeight;
  const int chartRoom = chtDays.Visible() ? kChartHeight + kMargin : 0;
  const int listHeight = std::max(bottom - kMargin - chartRoom - listTop, 600);
  lvwLog.Move(kMargin, listTop, std::max(width - 2 * kMargin, 1000), listHeight);
  chtDays.Move(kMargin, listTop + listHeight + kMargin, std::max(width - 2 * kMargin, 1000), kChartHeight);
  lblTotals.Move(kMargin, bottom + 45, std::max(width - 2 * kButtonWidth - 4 * kMargin, 1000), kRowHeight);
  cmdExport.Move(width - 2 * kButtonWidth - 2 * kMargin, bottom, kButtonWidth, kButtonHeight);
  cmdClose.Move(width - kButtonWidth - kMargin, bottom, kButtonWidth, kButtonHeight);
}

void ConnectionLogForm::Form_Load() {
  loading_ = true;
  // The rows shown point into the records: gone before the records go.
  lvwLog.Clear();
  shown_.clear();
  records_ = sources_.log.ReadAll();
  months_ = LoggedMonths(records_);
  cmbMonth.Clear();
  for (const CalendarDate& month : months_) {
    cmbMonth.AddItem(MonthCaption(month, [this](int number) { return sources_.clock.MonthName(number); }));
  }
  cmbMonth.AddItem(kAllMonths);
  cmbEntry.Clear();
  cmbEntry.AddItem(kAllEntries);
  entries_ = LoggedEntries(records_);
  for (const std::string& entry : entries_) cmbEntry.AddItem(sources_.files.AnsiFromUtf8(entry));
  // The newest month first; "All" when nothing is logged yet.
  cmbMonth.SetListIndex(0);
  cmbEntry.SetListIndex(0);
  sortColumn_ = LogColumn::Started;
  descending_ = false;
  loading_ = false;
  ShowSelection();
}

std::optional<CalendarDate> ConnectionLogForm::ChosenMonth() const {
  const int index = cmbMonth.ListIndex();
  if (index < 0 || index >= static_cast<int>(months_.size())) return std::nullopt;
  return months_[static_cast<size_t>(index)];
}

void ConnectionLogForm::ShowSelection() {
  if (loading_) return;
  const int entryIndex = cmbEntry.ListIndex();
  const std::string entry = entryIndex >= 1 && entryIndex <= static_cast<int>(entries_.size())
                                ? entries_[static_cast<size_t>(entryIndex - 1)]
                                : std::string();
  shown_ = SelectRecords(records_, ChosenMonth(), entry);
  SortRecords(shown_, sortColumn_, descending_);
  // The list asks for the cells of the rows it draws, not all of them.
  lvwLog.SetRows(static_cast<int>(shown_.size()), [this](int row) {
    return RowCells(*shown_[static_cast<size_t>(row)],
                    [this](const std::string& text) { return sources_.files.AnsiFromUtf8(text); });
  });
  ShowChart();
  const LogTotals totals = TotalsOf(shown_);
  lblTotals.SetCaption(std::to_string(totals.Connections) + (totals.Connections == 1 ? " connection" : " connections") +
                       "   Time: " + ClockText(totals.Seconds) + "   Sent: " + Thousands(totals.Sent) +
                       " bytes   Received: " + Thousands(totals.Received) + " bytes" +
                       (totals.Cost ? "   Cost: " + AmountText(*totals.Cost, totals.CostDecimals) : std::string()));
}

// The chart is of one month: with "All" it steps aside for the list.
void ConnectionLogForm::ShowChart() {
  const std::optional<CalendarDate> month = ChosenMonth();
  if (month) {
    chtDays.SetContents(DailyChart(SecondsPerDay(shown_, *month), *month,
                                   [this](int number) { return sources_.clock.MonthName(number); }));
  } else {
    chtDays.SetContents({});
  }
  if (chtDays.Visible() != month.has_value()) {
    chtDays.SetVisible(month.has_value());
    Form_Resize();
  }
}

void ConnectionLogForm::cmbMonth_Click() { ShowSelection(); }

void ConnectionLogForm::cmbEntry_Click() { ShowSelection(); }

// A second click on the same header turns its order round.
void ConnectionLogForm::lvwLog_ColumnClick(int column) {
  const auto clicked = static_cast<LogColumn>(column);
  descending_ = clicked == sortColumn_ ? !descending_ : false;
  sortColumn_ = clicked;
  ShowSelection();
}

void ConnectionLogForm::cmdExport_Click() {
  FileOpenRequest request;
  request.title = "Export Connections";
  request.filter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";
  request.defaultExtension = "csv";
  request.fileName = "Connections.csv";
  std::string path;
  if (!sources_.fileDialog.ChooseFileToSave(request, path)) return;
  std::string bytes = ConnectionLogStart();
  for (const ConnectionRecord* record : shown_) bytes += "\r\n" + ConnectionRow(*record);
  const uint32_t error = sources_.files.Export(path, bytes);
  if (error != 0) {
    sources_.messages.Show("The connections could not be written to " + path + " (error " + std::to_string(error) +
                               ").",
                           "Corvane", MsgIcon::Exclamation, MsgButtons::Ok);
  }
}

void ConnectionLogForm::cmdClose_Click() { Unload(); }

}  // namespace corvane
