// The actions' variables and start.
#include "app/line_action_runner.h"

#include "stats/monthly_online_time.h"

namespace corvane {

std::vector<EnvironmentVariable> ConnectActionVariables(const std::string& entryName, const std::string& number,
                                                        const std::string& login, uint32_t bitsPerSecond) {
  return {{kActionEventVariable, "connect"},
          {kActionEntryVariable, ShownEntryName(entryName)},
          {kActionNumberVariable, number},
          {kActionLoginVariable, login},
          {kActionSpeedVariable, std::to_string(bitsPerSecond)}};
}

std::vector<EnvironmentVariable> DisconnectActionVariables(const ConnectionRecord& ended) {
  std::vector<EnvironmentVariable> variables =
      ConnectActionVariables(ended.Entry, ended.Number, ended.Login, ended.Speed);
  variables.front().second = "disconnect";
  variables.insert(variables.end(), {{kActionSecondsVariable, std::to_string(ended.Seconds)},
                                     {kActionSentVariable, std::to_string(ended.Sent)},
                                     {kActionReceivedVariable, std::to_string(ended.Received)},
                                     {kActionEndedByVariable, ConnectionEndName(ended.EndedBy)}});
  return variables;
}

std::string StartLineAction(ProcessPort& processes, const LineAction& action,
                            const std::vector<EnvironmentVariable>& variables) {
  if (!action.Set()) return {};
  const std::string failure = processes.Start(action.Program, action.Arguments, variables);
  if (failure.empty()) return {};
  return "Could not start '" + action.Program + "': " + failure;
}

}  // namespace corvane
