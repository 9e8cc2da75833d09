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
// The run synthesis has closed but "DetailResultats.res" does not hold its answer as it writes
// it (left from another hand-off, damaged): the participant's setup sheet stays as it was.
#define TXT_SETUP_ANSWER_NOT_VALID \
  ZT("Error: the Detailed results file does not hold the answer of the run synthesis; the " \
     "setup sheet was not changed", \
     "Erreur: le fichier DetailResultats ne contient pas la réponse de la synthèse du run ; " \
     "la fiche de réglages n'a pas été modifiée")

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
// Run detail window "DETAILRESULTATS" (also the run synthesis window).
#define TXT_RUN_WINDOW_CAPTION ZT("Driver's run synthesis", "Analyse résultats pilote")
#define TXT_RUN_WINDOW_SAVE ZT("Save", "Enregistrer")
#define TXT_RUN_WINDOW_CANCEL ZT("Cancel", "Echap")
#define TXT_RUN_WINDOW_PRINT ZT("Print", "Imprimer")
#define TXT_RUN_WINDOW_TRACK_CONDITIONS ZT("Track conditions :", "Conditions de piste :")
#define TXT_RUN_WINDOW_CAR ZT("Car :", "Voiture :")
#define TXT_RUN_WINDOW_ENGINE_GROUP ZT("Engine", "Motorisation")
#define TXT_RUN_WINDOW_ENGINE ZT("Engine :", "Moteur :")
#define TXT_RUN_WINDOW_PLUG ZT("Plug :", "Bougie :")
#define TXT_RUN_WINDOW_RESTRICTOR ZT("Restr.:", "Buse :")
#define TXT_RUN_WINDOW_PIPE ZT("Pipe :", "Coude :")
#define TXT_RUN_WINDOW_MUFFLER ZT("Muffl. :", "Réso :")
#define TXT_RUN_WINDOW_CLUTCH_GEAR ZT("Clutch gear :", "Embrayage :")
#define TXT_RUN_WINDOW_RATIO ZT("Ratio :", "Rapport :")
#define TXT_RUN_WINDOW_FUEL ZT("Fuel :", "Carburant :")
#define TXT_RUN_WINDOW_SPEED_CONTROLLER ZT("Speed Ctrl :", "Controleur :")
#define TXT_RUN_WINDOW_BATTERY ZT("Batt. :", "Accus :")
#define TXT_RUN_WINDOW_DIFFERENTIALS_GROUP ZT("Differentials", "Différentiels")
#define TXT_RUN_WINDOW_DIFF_FRONT ZT("Front :", "Avant :")
#define TXT_RUN_WINDOW_DIFF_CENTRE ZT("Center :", "Central :")
#define TXT_RUN_WINDOW_DIFF_REAR ZT("Rear :", "Arrière :")
#define TXT_RUN_WINDOW_SHOCKS_GROUP ZT("Shocks", "Amortisseurs")
#define TXT_RUN_WINDOW_FRONT ZT("Front", "Avant")
#define TXT_RUN_WINDOW_REAR ZT("Rear", "Arrière")
#define TXT_RUN_WINDOW_SHOCKS ZT("Shocks:", "Amortisseurs:")
#define TXT_RUN_WINDOW_SPRINGS ZT("Springs :", "Ressorts :")
#define TXT_RUN_WINDOW_FLUID ZT("Fluid :", "Huile :")
#define TXT_RUN_WINDOW_PISTON ZT("Piston :", "Piston :")
#define TXT_RUN_WINDOW_REBOUND ZT("Rebound :", "Cales tension :")
#define TXT_RUN_WINDOW_CHASSIS_GROUP ZT("Chassis", "Chassis")
#define TXT_RUN_WINDOW_RIDE_HEIGHT ZT("Ride height :", "Garde au sol :")
#define TXT_RUN_WINDOW_ANTI_ROLL_BAR ZT("Anti Roll Bar :", "Barre Antiroulis :")
#define TXT_RUN_WINDOW_SHOCKS_FIXATION ZT("Shocks fixation :", "Ancrage Amort. :")
#define TXT_RUN_WINDOW_CAMBER ZT("Camber :", "Carrossage :")
#define TXT_RUN_WINDOW_TOE ZT("Toe :", "Ouvert./pincemt :")
#define TXT_RUN_WINDOW_WHEELBASE ZT("Wheelbase :", "Empattement :")
#define TXT_RUN_WINDOW_TIRES_GROUP ZT("Tires / Body", "Pneus / Carrosserie")
#define TXT_RUN_WINDOW_TIRES ZT("Tires :", "Pneus :")
#define TXT_RUN_WINDOW_TIRE_INSERTS ZT("Inserts tires :", "Inserts Pneus :")
#define TXT_RUN_WINDOW_WHEELS ZT("Wheels :", "Jantes :")
#define TXT_RUN_WINDOW_BODY ZT("Body :", "Carrosserie :")
#define TXT_RUN_WINDOW_WING ZT("Wing :", "Aileron :")
#define TXT_RUN_WINDOW_WING_POSITION ZT("Wing Position :", "Position Aileron :")
#define TXT_RUN_WINDOW_WING_INCLINE ZT("Wing Incline :", "Inclinaison Aileron :")
#define TXT_RUN_WINDOW_RADIO_GROUP ZT("Radio", "Radio")
#define TXT_RUN_WINDOW_RADIO ZT("Radio :", "Radio :")
#define TXT_RUN_WINDOW_STEERING_SERVO ZT("Steering Servo :", "Servo Direction :")
#define TXT_RUN_WINDOW_THROTTLE_SERVO ZT("Throttle Servo :", "Servo Gaz :")
#define TXT_RUN_WINDOW_SUMMARY_GROUP ZT("Summary of the run", "Synthèse du run")
#define TXT_RUN_WINDOW_FROM_LAP ZT(" From lap ", " Entre tour ")
#define TXT_RUN_WINDOW_TO_LAP ZT("     to lap ", "     et tour ")
#define TXT_RUN_WINDOW_DATA ZT("Data", "Données")
#define TXT_RUN_WINDOW_HISTO ZT("Histo", "Histo")
#define TXT_RUN_WINDOW_CURVE ZT("Curve", "Courbe")
#define TXT_RUN_WINDOW_STRIP_GROUP ZT("Detail lap by lap", "Détail tour par tour")

// The printed page of a run: captions, labels, graph headings (s and e) and the document name.
#define TXT_PAGE_CAR ZT("Car :", "Voiture :")
#define TXT_PAGE_ENGINE_FRAME ZT(" Engine ", " Motorisation ")
#define TXT_PAGE_DIFFERENTIALS_FRAME ZT(" Differentials ", " Différentiels ")
#define TXT_PAGE_CHASSIS_FRAME ZT(" Chassis ", " Chassis ")
#define TXT_PAGE_SHOCKS_FRAME ZT(" Shocks ", " Amortisseurs ")
#define TXT_PAGE_TIRES_FRAME ZT(" Tires / body ", " Pneus / carrosserie ")
#define TXT_PAGE_RADIO_FRAME ZT(" Radio ", " Radio ")
#define TXT_PAGE_FRONT ZT("  Front  ", "  Avant  ")
#define TXT_PAGE_REAR ZT(" Rear ", " Arrière ")
#define TXT_PAGE_TRACK_CONDITIONS ZT("Track conditions :", "Conditions de piste :")
#define TXT_PAGE_SUMMARY_HEADING \
  ZT("Summary of the run from lap %d to lap %d", \
     "Synthèse du run entre tour %d et tour %d")
#define TXT_PAGE_CURVE_HEADING \
  ZT("Evolution of the lap times from lap %d to lap %d", \
     "Evolution des temps au tour entre tour %d et tour %d")
#define TXT_PAGE_ENGINE ZT("Engine:", "Moteur :")
#define TXT_PAGE_PLUG ZT("Plug :", "Bougie :")
#define TXT_PAGE_RESTRICTOR ZT("Restr.:", "Buse :")
#define TXT_PAGE_PIPE ZT("Pipe :", "Coude :")
#define TXT_PAGE_MUFFLER ZT("Muff. :", "Réso :")
#define TXT_PAGE_CLUTCH_GEAR ZT("Clutch gear :", "Embrayage :")
#define TXT_PAGE_RATIO ZT("Ratio :", "Rapport :")
#define TXT_PAGE_FUEL ZT("Fuel :", "Carburant :")
#define TXT_PAGE_SPEED_CONTROLLER ZT("Speed ctrl :", "Controleur :")
#define TXT_PAGE_BATTERY ZT("Batt. :", "Accus :")
#define TXT_PAGE_DIFF_FRONT ZT("Front :", "Avant :")
#define TXT_PAGE_DIFF_CENTRE ZT("Center :", "Central :")
#define TXT_PAGE_DIFF_REAR ZT("Rear :", "Arrière :")
#define TXT_PAGE_RIDE_HEIGHT ZT("Ride Height :", "Garde au sol :")
#define TXT_PAGE_ANTI_ROLL_BAR ZT("Anti Roll Bars :", "Barre Antiroulis :")
#define TXT_PAGE_SHOCKS_FIXATION ZT("Shocks fixation :", "Ancrage Amort. :")
#define TXT_PAGE_CAMBER ZT("Camber :", "Carrossage :")
#define TXT_PAGE_TOE ZT("Toe angle :", "Ouvert./pincemt :")
#define TXT_PAGE_WHEELBASE ZT("Wheelbase :", "Empattement :")
#define TXT_PAGE_SHOCKS ZT("Shocks :", "Amortisseurs :")
#define TXT_PAGE_SPRINGS ZT("Springs :", "Ressorts :")
#define TXT_PAGE_FLUID ZT("Fluid :", "Huile :")
#define TXT_PAGE_PISTON ZT("Piston :", "Piston :")
#define TXT_PAGE_REBOUND ZT("Rebound :", "Cales tension :")
#define TXT_PAGE_TIRES ZT("Tires :", "Pneus :")
#define TXT_PAGE_TIRE_INSERTS ZT("Inserts tires :", "Inserts Pneus :")
#define TXT_PAGE_WHEELS ZT("Wheels :", "Jantes :")
#define TXT_PAGE_BODY ZT("Body :", "Carrosserie :")
#define TXT_PAGE_WING ZT("Wing :", "Aileron :")
#define TXT_PAGE_WING_POSITION ZT("Wing Position :", "Position Aileron :")
#define TXT_PAGE_WING_INCLINE ZT("Wing incline :", "Inclinaison Aileron :")
#define TXT_PAGE_RADIO ZT("Radio :", "Radio :")
#define TXT_PAGE_STEERING_SERVO ZT("Steering Servo :", "Servo direction :")
#define TXT_PAGE_THROTTLE_SERVO ZT("Throttle Servo :", "Servo gaz :")
#define TXT_PAGE_DOCUMENT ZT("RUN SYNTHESIS : Printing...", "SYNTHESE RUN : Printing...")

#endif
