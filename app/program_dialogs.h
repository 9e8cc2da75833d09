// The dialogs the main window's menu opens: the database editors, the runs database, the sound,
// display and interface options. Each is modal to the main window, reads its own files when it
// opens and writes them when the user confirms; the program rereads what changed afterwards.
#pragma once

namespace zarvo {

class LiveResultsControl;

class ProgramDialogs {
 public:
  virtual ~ProgramDialogs() = default;
  // Each returns true when the user confirmed and the dialog's files were written.
  virtual bool OpenCircuitsEditor() = 0;     // "BASECIRCUITS"
  virtual bool OpenDriversEditor() = 0;      // "BASEPILOTES"
  virtual bool OpenCarsEditor() = 0;         // "BASEVOITURES"
  virtual bool OpenFrequenciesEditor() = 0;  // "BASEFREQUENCES"
  virtual void OpenRunsDatabase() = 0;       // "BASERESULTATS"
  virtual bool OpenSoundOptions() = 0;       // "SONS"
  virtual bool OpenLapCallouts() = 0;        // "ANNONCESTOURS"
  virtual bool OpenDisplayOptions() = 0;     // "AFFICHAGE"
  virtual void OpenInterfaceDialog() = 0;    // "INTERFACE"
  // The run synthesis ("DETAILRESULTATS") of the run handed off in "DetailResultats.res". True
  // when the window was shown: it has then written its setup answer (or reported that it could
  // not), to be read at once.
  virtual bool OpenRunSynthesis() = 0;
  // The live results on the network ("RESULTATSDIRECT"): its Ok applies the settings through
  // the control.
  virtual bool OpenLiveResults(LiveResultsControl& control) = 0;
};

}  // namespace zarvo
