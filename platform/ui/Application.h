#pragma once
// The application object: one per process, registered with the framework. It owns the menu
// bar, binds menu handlers by item name, and runs and quits the event loop.
#include <functional>
#include <map>
#include <string>

namespace fw {

class MenuBar;

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The registered application object, or nullptr.
  static Application* Instance();
  // Makes this the application object.
  void Register();

  MenuBar* GetMenuBar() const { return menuBar_; }
  void SetMenuBar(MenuBar* menuBar) { menuBar_ = menuBar; }

  // A handler for the menu item of that name; it returns True when it handled the choice.
  void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
  bool HandleMenuItem(const std::string& itemName);
  // Before a menu shows.
  void EnableMenuItems() { Event_EnableMenuItems(); }

  // Runs the event loop until Quit; gives the exit status. SIGTERM, SIGHUP and SIGINT meanwhile
  // quit as Quit(0) does.
  int Run();
  // Closes every window (each may cancel, which stops the quit), then ends the event loop.
  void Quit(int code);

 protected:
  virtual void Event_EnableMenuItems() {}

 private:
  MenuBar* menuBar_ = nullptr;
  std::map<std::string, std::function<bool()>> menuHandlers_;
  bool quitting_ = false;
};

// The program's name: the title of every window and alert that has none of its own.
void SetApplicationName(const std::string& name);
// The title a window or alert shows: its own, or else the program's name.
std::string ShownTitle(const std::string& title);

// Sets what the framework needs before the first window: the default font (one that shows
// Japanese).
void InitializeFramework();

// Destroys every window that is still open, without asking them.
void CloseAllWindows();

// Commits the text an input method is composing in the focused field (shown there, not yet in
// its text), as a change of focus would.
void CommitComposition();

// Runs f from the event loop once the current event is done: never inside a thread's body, so
// f may show a modal alert.
void CallLater(std::function<void()> f);

}  // namespace fw
