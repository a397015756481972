// frmConnectionLog: every logged connection as a report, by month and entry,
// with the totals of the rows shown, sorting by any column, an export of
// those rows as CSV, and a chart of the chosen month's online time per day.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "stats/connection_log.h"
#include "stats/connection_log_ids.h"
#include "stats/connection_log_rows.h"
#include "system/clock_port.h"
#include "system/file_dialog_port.h"
#include "system/message_box_port.h"

namespace corvane {

struct ConnectionLogSources {
  ConnectionLog& log;
  ConnectionLogFiles& files;
  FileDialogPort& fileDialog;
  MessageBoxPort& messages;
  ClockPort& clock;
};

class ConnectionLogForm : public forms::Form {
 public:
  explicit ConnectionLogForm(ConnectionLogSources sources);

  // The month list's last item: every month.
  static constexpr const char* kAllMonths = "All";
  static constexpr const char* kAllEntries = "All entries";

  forms::Label lblMonth{"lblMonth", IDC_LOG_LBLMONTH};
  forms::ComboBox cmbMonth{"cmbMonth", IDC_LOG_CMBMONTH};
  forms::Label lblEntry{"lblEntry", IDC_LOG_LBLENTRY};
  forms::ComboBox cmbEntry{"cmbEntry", IDC_LOG_CMBENTRY};
  forms::ListView lvwLog{"lvwLog", IDC_LOG_LVWLOG};
  forms::Chart chtDays{"chtDays", IDC_LOG_CHART};
  forms::Label lblTotals{"lblTotals", IDC_LOG_LBLTOTALS};
  forms::CommandButton cmdExport{"cmdExport", IDC_LOG_CMDEXPORT};
  forms::CommandButton cmdClose{"cmdClose", IDC_LOG_CMDCLOSE};

  void Form_Load() override;
  void Form_Resize() override;
  void cmbMonth_Click();
  void cmbEntry_Click();
  void lvwLog_ColumnClick(int column);
  void cmdExport_Click();
  void cmdClose_Click();

  // The records of the rows shown, in their order.
  const std::vector<const ConnectionRecord*>& Shown() const { return shown_; }

 private:
  void ShowSelection();
  void ShowChart();
  std::optional<CalendarDate> ChosenMonth() const;

  ConnectionLogSources sources_;
  std::vector<ConnectionRecord> records_;
  std::vector<CalendarDate> months_;
  std::vector<std::string> entries_;  // as the entry list has them, after "All entries"
  std::vector<const ConnectionRecord*> shown_;
  LogColumn sortColumn_ = LogColumn::Started;
  bool descending_ = false;
  bool loading_ = false;
};

}  // namespace corvane
