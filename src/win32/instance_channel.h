// The channel a script's command asks the running program through: a named
// pipe of this user in this session, which only this user's processes may
// open. The running program answers on its window thread, from whatever
// message loop runs there (a dial's wait, a countdown, a modal window), or
// not at all within a second; the asking side never waits longer than that.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/handler_guard.h"
#include "win32/unique_handle.h"

namespace corvane {

// The running program's side. Questions are served from the moment it is
// made until it is destroyed.
class InstanceChannelServer {
 public:
  // `answer` gives the reply to a question and must change nothing: it may
  // run inside any message loop of the window thread. `act` follows once
  // the reply is on its way, from a posted message, for a question that asks
  // for something to be done. Both run on the thread that makes the server.
  InstanceChannelServer(HINSTANCE instance, std::function<std::string(const std::string&)> answer,
                        std::function<void(const std::string&)> act);
  ~InstanceChannelServer();
  InstanceChannelServer(const InstanceChannelServer&) = delete;
  InstanceChannelServer& operator=(const InstanceChannelServer&) = delete;

  // Where a throwing `answer` or `act` is reported.
  HandlerFailureSink HandlerFailed;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static DWORD WINAPI ServeThread(void* server);
  void Serve();
  void ServeClient(HANDLE pipe);

  // Takes the question `id` from the serving thread and gives back its
  // reply; false when it is no longer awaited (its time ran out).
  bool TakeQuestion(WPARAM id, std::string& question);
  bool GiveAnswer(WPARAM id, std::string answer);

  HINSTANCE instance_;
  std::function<std::string(const std::string&)> answer_;
  std::function<void(const std::string&)> act_;
  std::string name_;
  UniqueWindowClass class_;
  UniqueWindow window_;
  UniqueKernelHandle stop_;
  UniqueKernelHandle io_;
  UniqueKernelHandle thread_;
  // The question in flight between the serving thread and the window
  // thread; a reply that comes after its time finds the id moved on.
  SRWLOCK exchangeLock_ = SRWLOCK_INIT;
  WPARAM questionId_ = 0;
  std::string question_;
  std::string reply_;
};

enum class ChannelReply {
  Answered,    // `answer` holds the reply
  NotRunning,  // no program of this user in this session serves the channel
  NoAnswer,    // a program is there but gave no reply in time
};

// Asks the running program `question`.
ChannelReply AskRunningProgram(const std::string& question, std::string& answer);

}  // namespace corvane
