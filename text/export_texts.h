// Texts of the results export: the column headings of the CSV files, the HTML report, the names
// of the exported files and the messages of a failed export.
#ifndef ZARVO_TEXT_EXPORT_TEXTS_H
#define ZARVO_TEXT_EXPORT_TEXTS_H

// Column headings of the classification file, in their order. "(s)" marks the columns of times
// in seconds; the column after each holds the same time as the results table writes it.
#define TXT_CSV_RUN ZT("Run", "Run")
#define TXT_CSV_POSITION ZT("Position", "Position")
#define TXT_CSV_DRIVER ZT("Driver", "Pilote")
#define TXT_CSV_LAPS ZT("Laps", "Tours")
#define TXT_CSV_TOTAL_SECONDS ZT("Total time (s)", "Temps total (s)")
#define TXT_CSV_TOTAL ZT("Total time", "Temps total")
#define TXT_CSV_BEST_SECONDS ZT("Best lap (s)", "Meilleur tour (s)")
#define TXT_CSV_BEST ZT("Best lap", "Meilleur tour")
#define TXT_CSV_AVERAGE_SECONDS ZT("Average lap (s)", "Tour moyen (s)")
#define TXT_CSV_AVERAGE ZT("Average lap", "Tour moyen")
#define TXT_CSV_WORST_SECONDS ZT("Worst lap (s)", "Moins bon tour (s)")
#define TXT_CSV_WORST ZT("Worst lap", "Moins bon tour")
#define TXT_CSV_LAST_SECONDS ZT("Last lap (s)", "Dernier tour (s)")
#define TXT_CSV_LAST ZT("Last lap", "Dernier tour")
#define TXT_CSV_CIRCUIT ZT("Circuit", "Circuit")
// Column headings of the laps file (run, driver, then these).
#define TXT_CSV_LAP ZT("Lap", "Tour")
#define TXT_CSV_LAP_TIME_SECONDS ZT("Lap time (s)", "Temps au tour (s)")
#define TXT_CSV_LAP_TIME ZT("Lap time", "Temps au tour")
#define TXT_CSV_RACE_TIME_SECONDS ZT("Race time (s)", "Temps de course (s)")
#define TXT_CSV_RACE_TIME ZT("Race time", "Temps de course")

// The HTML report.
#define TXT_REPORT_RUN ZT("Run %d", "Run %d")
#define TXT_REPORT_CIRCUIT ZT("Circuit: %s", "Circuit : %s")
#define TXT_REPORT_RANKED_BY_LAPS ZT("Ranked by laps, then total time", \
                                     "Classement aux tours, puis au temps total")
#define TXT_REPORT_RANKED_BY_BEST ZT("Ranked by best lap", "Classement au meilleur tour")
#define TXT_REPORT_CLASSIFICATION ZT("Classification", "Classement")
#define TXT_REPORT_POSITION ZT("Pos.", "Pos.")
#define TXT_REPORT_DRIVER ZT("Driver", "Pilote")
#define TXT_REPORT_LAPS ZT("Laps", "Tours")
#define TXT_REPORT_TOTAL ZT("Total time", "Temps total")
#define TXT_REPORT_BEST ZT("Best lap", "Meilleur tour")
#define TXT_REPORT_AVERAGE ZT("Average", "Moyenne")
#define TXT_REPORT_WORST ZT("Worst lap", "Moins bon tour")
#define TXT_REPORT_LAST ZT("Last lap", "Dernier tour")
#define TXT_REPORT_LAP ZT("Lap", "Tour")
#define TXT_REPORT_LAP_TIME ZT("Lap time", "Temps au tour")
#define TXT_REPORT_RACE_TIME ZT("Race time", "Temps de course")
// Heads a driver's part: position and name.
#define TXT_REPORT_DRIVER_HEADING ZT("%d. %s", "%d. %s")
// Under the driver's heading: laps, best lap and average as the results table writes them.
#define TXT_REPORT_DRIVER_SUMMARY ZT("%d laps - best lap %s - average %s", \
                                     "%d tours - meilleur tour %s - moyenne %s")
// The description of a lap-time chart (driver, first and last lap).
#define TXT_REPORT_CHART_TITLE ZT("Lap times of %s, laps %d to %d", \
                                  "Temps au tour de %s, tours %d à %d")
#define TXT_REPORT_NO_LAP ZT("No lap timed.", "Aucun tour chronométré.")
#define TXT_REPORT_NO_RUN ZT("No timed run.", "Aucun run chronométré.")
#define TXT_REPORT_BEST_OF_RUN ZT("best lap of the run", "meilleur tour du run")
#define TXT_REPORT_FOOTER ZT("Timed with Zarvo Training", "Chronométré avec Zarvo Training")

// The exported files, named after the session (or the run) in the folder chosen.
#define TXT_EXPORT_CLASSIFICATION_FILE ZT("%s - classification.csv", "%s - classement.csv")
#define TXT_EXPORT_LAPS_FILE ZT("%s - laps.csv", "%s - tours.csv")
#define TXT_EXPORT_REPORT_FILE ZT("%s.html", "%s.html")

// A failed export (titled TXT_CAPTION_ERROR, or written on the error output): the file's path.
#define TXT_EXPORT_WRITE_FAILED ZT("Error: The file %s could not be written", \
                                   "Erreur: impossible d'écrire le fichier %s")
#define TXT_EXPORT_SESSION_NOT_OPENED ZT("Error: The session file %s cannot be opened", \
                                         "Erreur: impossible d'ouvrir le fichier de séance %s")
#define TXT_EXPORT_NOT_A_SESSION ZT("Error: %s is not a session file", \
                                    "Erreur: %s n'est pas un fichier de séance")

// The export's menu items and the run windows' button.
#define TXT_MENU_EXPORT_SESSION ZT("Export session…", "Exporter la session…")
#define TXT_MENU_EXPORT_RUN ZT("Export run…", "Exporter la manche…")
// The save dialog of an export asks for the HTML report's name; the CSV files go beside it.
#define TXT_EXPORT_FILTER ZT("HTML page (.html)", "Page HTML (.html)")
// Titled TXT_CAPTION_QUESTION: the files of the export already there, one a line.
#define TXT_EXPORT_OVERWRITE_QUESTION ZT("These files exist already:\r\n%s\r\nReplace them?", \
                                         "Ces fichiers existent déjà :\r\n%s\r\nLes remplacer ?")
// The command line without its arguments, or with a switch it does not know.
#define TXT_EXPORT_USAGE \
  ZT("Usage: zarvo-training-en.exe /export <session file> <folder>\r\n" \
     "Writes the classification and laps (CSV) and the report (HTML) of every timed run of the " \
     "session into the folder.", \
     "Utilisation : zarvo-training-fr.exe /export <fichier de séance> <dossier>\r\n" \
     "Écrit le classement et les tours (CSV) et le rapport (HTML) de chaque run chronométré de " \
     "la séance dans le dossier.")

#endif
