#pragma once

// The application's own commands, which the main window's menus offer but the
// application shell answers: new documents, templates, samples, quitting, the
// preferences and grid settings, help, the welcome tour and the about window.
// The shell installs itself at start-up; without it the items do nothing.

#include <memory>
#include <string>

class CMApplicationCommands {
 public:
  // The sample documents under "Samples/", in menu order.
  static constexpr const char* kSampleNames[] = {"manshirtback", "floraldesign", "shirt1", "menVardelle",
                                                 "womanVardelle"};
  static constexpr const char* kSampleTitles[] = {"Man's Shirt, Back", "Floral Design", "Woman's Shirt",
                                                  "Men's Collection", "Women's Collection"};

  virtual ~CMApplicationCommands() = default;

  static CMApplicationCommands* installed();
  // Null removes; the caller keeps the object alive while it is installed.
  static void install(CMApplicationCommands* commands);

  // From a menu or a button; without a sender (at launch) the window starts in first-launch mode.
  virtual void OnNewDocument(bool fromSender) = 0;
  virtual void OnFromTemplates() = 0;
  virtual void loadSample(const std::string& name) = 0;
  // Every document through the save prompt; Cancel keeps the program running.
  virtual void quit() = 0;
  virtual void OnShowPreferences() = 0;
  virtual void OnGridSettings() = 0;
  virtual void OnShowHelpWindow() = 0;
  virtual void showTourWindow() = 0;
  virtual void OnShowAboutWindow() = 0;
};
