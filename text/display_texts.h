// Texts of the live results table.
#ifndef ZARVO_TEXT_DISPLAY_TEXTS_H
#define ZARVO_TEXT_DISPLAY_TEXTS_H

// Column headings, in column order.
#define TXT_HEADING_LANE ZT("Lane", "Ligne")
#define TXT_HEADING_DRIVER ZT("Driver", "Nom pilote")
#define TXT_HEADING_LAPS ZT("Laps", "Tours")
#define TXT_HEADING_TOTAL_TIME ZT("Total time", "Temps total")
#define TXT_HEADING_LAP_TIME ZT("Lap time", "Dernier tour")
#define TXT_HEADING_BEST_LAP ZT("Best lap", "Meilleur tour")
#define TXT_HEADING_WORST_LAP ZT("Worst lap", "- bon tour")
#define TXT_HEADING_AVERAGE_LAP ZT("Average lap", "Tour moyen")
#define TXT_HEADING_TRANSPONDER ZT("Transp.", "Transp.")
// Over the marker column and over the finish flags.
#define TXT_HEADING_MARKERS ZT("Res", "Res")
#define TXT_HEADING_FINISHED ZT("Fin", "Fin")
// The watermark in the empty part of the table: the program's name and version.
#define TXT_WATERMARK_NAME ZT("Zarvo Training", "Zarvo Training")
#define TXT_WATERMARK_VERSION ZT("v 1.1.c", "v 1.1.c")

#endif
