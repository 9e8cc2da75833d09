// Fakes of the session commands' ports: a tree that keeps its nodes as the control would, a
// window, file dialogs answered from a script, and setup dialogs whose effect a test supplies.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/program_dialogs.h"
#include "app/session_ports.h"

namespace zarvo::testing {

class FakeSessionTree : public SessionTreeView {
 public:
  struct Node {
    int32_t parent;
    std::string label;
    int image;
    bool bold;
  };

  void Clear() override;
  void InsertNode(const TreeNode& node) override;
  void DeleteNode(int32_t id) override;
  void Expand(int32_t id) override { expanded.insert(id); }
  void SetLabel(int32_t id, const char* label) override;
  int32_t SelectedNodeId() override { return selected; }
  void BeginLabelEdit(int32_t id) override { labelEdits.push_back(id); }
  void LimitLabelEdit(int maxCharacters) override { editLimit = maxCharacters; }

  // Every node in display order, one line each: two blanks per level, the id and the label;
  // " [bold]" and " [image n]" follow.
  std::vector<std::string> Lines() const;
  std::vector<int32_t> ChildrenOf(int32_t id) const;
  bool Has(int32_t id) const { return nodes.count(id) != 0; }
  std::string LabelOf(int32_t id) const;

  std::map<int32_t, Node> nodes;
  std::map<int32_t, std::vector<int32_t>> children;  // 0 holds the root
  std::set<int32_t> expanded;
  int32_t selected = 0;
  std::vector<int32_t> labelEdits;
  int editLimit = 0;
  // Called, as the control notifies it, when the selected node is deleted (the selection moves).
  std::function<void()> onSelectionLost;

 private:
  void Remove(int32_t id);
};

class RecordingSessionWindow : public SessionWindow {
 public:
  void SetTitle(const char* title) override { titles.push_back(title); }
  void ResetResultsView(int participantCount) override { resets.push_back(participantCount); }
  void ShowPopupMenu(int commandId) override { popups.push_back(commandId); }

  std::vector<std::string> titles;
  std::vector<int> resets;
  std::vector<int> popups;
};

// Answers the next dialogs from queues: a path, or std::nullopt for Cancel (also when empty).
class ScriptedFileDialogs : public FileDialogs {
 public:
  struct Asked {
    bool save;
    std::string filterName, pattern, initialName, initialFolder;
    std::string defaultExtension;  // "" for none
    bool confirmOverwrite = true;
  };
  bool AskSaveFile(const FileRequest& request, std::string& chosen) override {
    return Answer(true, request, saveAnswers, chosen);
  }
  bool AskOpenFile(const FileRequest& request, std::string& chosen) override {
    return Answer(false, request, openAnswers, chosen);
  }

  std::deque<std::optional<std::string>> saveAnswers, openAnswers;
  std::vector<Asked> asked;

 private:
  bool Answer(bool save, const FileRequest& request,
              std::deque<std::optional<std::string>>& answers, std::string& chosen) {
    asked.push_back({save, request.filterName, request.pattern, request.initialName,
                     request.initialFolder,
                     request.defaultExtension != nullptr ? request.defaultExtension : "",
                     request.confirmOverwrite});
    if (answers.empty() || !answers.front()) {
      if (!answers.empty()) answers.pop_front();
      return false;
    }
    chosen = *answers.front();
    answers.pop_front();
    return true;
  }
};

// Each dialog counts its openings and runs the test's action (which may write the working copy).
class ScriptedSessionDialogs : public SessionDialogs {
 public:
  void OpenTrackDialog() override { Run(track, trackOpened); }
  void OpenParticipantsDialog() override { Run(participants, participantsOpened); }
  void OpenRaceParametersDialog() override { Run(parameters, parametersOpened); }
  void OpenDriverDetailsDialog() override { Run(driverDetails, driverDetailsOpened); }
  bool OpenSmartphoneImportDialog() override {
    ++importOpened;
    return import ? import() : false;
  }

  std::function<void()> track, participants, parameters, driverDetails;
  std::function<bool()> import;
  int trackOpened = 0, participantsOpened = 0, parametersOpened = 0, driverDetailsOpened = 0,
      importOpened = 0;

 private:
  static void Run(const std::function<void()>& action, int& count) {
    ++count;
    if (action) action();
  }
};

// The menu's dialogs: each counts its openings and runs the test's action (which may write the
// dialog's files); the result is the action's, false without one.
class ScriptedProgramDialogs : public ProgramDialogs {
 public:
  bool OpenCircuitsEditor() override { return Run(circuits, circuitsOpened); }
  bool OpenDriversEditor() override { return Run(drivers, driversOpened); }
  bool OpenCarsEditor() override { return Run(cars, carsOpened); }
  bool OpenFrequenciesEditor() override { return Run(frequencies, frequenciesOpened); }
  void OpenRunsDatabase() override { Run(runs, runsOpened); }
  bool OpenSoundOptions() override { return Run(sound, soundOpened); }
  bool OpenLapCallouts() override { return Run(callouts, calloutsOpened); }
  bool OpenDisplayOptions() override { return Run(display, displayOpened); }
  void OpenInterfaceDialog() override { Run(interface, interfaceOpened); }
  bool OpenRunSynthesis() override { return Run(synthesis, synthesisOpened); }
  bool OpenLiveResults(LiveResultsControl& control) override {
    liveControl = &control;
    return Run(live, liveOpened);
  }

  std::function<bool()> circuits, drivers, cars, frequencies, runs, sound, display, interface,
      synthesis, callouts, live;
  LiveResultsControl* liveControl = nullptr;
  int liveOpened = 0;
  int circuitsOpened = 0, driversOpened = 0, carsOpened = 0, frequenciesOpened = 0, runsOpened = 0,
      soundOpened = 0, displayOpened = 0, interfaceOpened = 0, synthesisOpened = 0,
      calloutsOpened = 0;

 private:
  static bool Run(const std::function<bool()>& action, int& count) {
    ++count;
    return action ? action() : false;
  }
};

}  // namespace zarvo::testing
