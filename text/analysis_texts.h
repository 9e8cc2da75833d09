// Texts of the run analysis windows and the printout.
#ifndef ZARVO_TEXT_ANALYSIS_TEXTS_H
#define ZARVO_TEXT_ANALYSIS_TEXTS_H

// The hand-off file between windows cannot be written or read (titled TXT_CAPTION_ERROR).
#define TXT_DETAIL_RESULTS_FILE_NOT_FOUND \
  ZT("Error: Detailed results file not found", \
     "Erreur: impossible d'ouvrir le fichier DetailResultats")
// The runs file named by an archived-run request cannot be opened (titled TXT_CAPTION_ERROR).
#define TXT_DRIVER_RUNS_FILE_NOT_FOUND \
  ZT("Error: Selected driver's run file not found", \
     "Erreur: le fichier Run du pilote sélectionné n'a pas été trouvé")

// Starts the track line above the views: circuit and run title follow.
#define TXT_RUN_TRACK_CAPTION ZT(" Track : ", " Piste : ")

// Summary of a lap range (view "Data").
#define TXT_SUMMARY_BEST_LAP ZT("Best lap :", "Meilleur tour :")
#define TXT_SUMMARY_WORST_LAP ZT("Worst lap :", "Moins bon tour :")
#define TXT_SUMMARY_AVERAGE_LAP ZT("Average lap :", "Tour moyen :")
#define TXT_SUMMARY_DEVIATION ZT("Standard dev. :", "Ecart type :")
#define TXT_SUMMARY_DEVIATION_NOTE ZT("(regularity)", "(régularité)")
// The deviation around its time text.
#define TXT_SUMMARY_DEVIATION_VALUE ZT("+/- %s", "+/- %s")
// Lap number of the best and worst lap.
#define TXT_SUMMARY_LAP_NUMBER ZT("(L %d)", "(T %d)")
#define TXT_SUMMARY_LAP_TIME_COLUMN ZT("Lap time", "Temps au tour")
#define TXT_SUMMARY_SHARE_COLUMN ZT("% laps", "% tours")

// Captions of the lap-by-lap strip and of the graphs' axes; "Laps" also heads the count column.
#define TXT_GRAPH_LAPS ZT("Laps", "Tours")
#define TXT_GRAPH_TIME ZT("Time", "Temps")
// A lap of the strip, and the lap of the hovered curve point after its time.
#define TXT_GRAPH_STRIP_LAP ZT("L%d", "T%d")
#define TXT_GRAPH_HOVER_LAP ZT(" (L%d)", " (T%d)")
// Marks the average on the histogram and the curve.
#define TXT_GRAPH_AVERAGE ZT("avg", "moy")

// The run synthesis' car chooser: confirmations of "DATA RESET" and of a car (titled
// TXT_CAPTION_QUESTION, Yes / No).
#define TXT_SYNTHESIS_CONFIRM_DATA_RESET \
  ZT("Be careful!\nBy selecting this option, the actual cars settings will be cleared!", \
     "Attention!\nSi vous sélectionnez cette option, les paramètres à l'écran seront effacés!")
#define TXT_SYNTHESIS_CONFIRM_CAR \
  ZT("Be careful!\nYou are choosing a new car; the actual car settings will be cleared and " \
     "replaced!", \
     "Attention!\nSi vous sélectionnez une voiture, les paramètres actuellement à l'écran " \
     "seront supprimés et remplacés par ceux de la voiture choisie!")

#endif
