# The first-run demo of tools/run-program.sh (sourced by it): demo data in the prefix's program
# folder, then a session made through the program's own tree and dialogs by the end-to-end robot,
# and its first run started. Needs: edition, program_dir, robot, run (the work folder).

demo_drivers=(ALEX BRUNO CHLOE DAVID EMMA FELIX)  # transponders 001001 to 001006, in this order
demo_circuit="Piste du club"

demo_robot() { wine "$robot" "$@" 2>>"$run/demo.log" | tr -d '\r'; }

# The texts of the edition that the demo looks for.
demo_text() {
  case "$edition:$1" in
    en:question) echo "Be careful" ;;
    fr:question) echo "Attention" ;;
    en:track) echo "Track" ;;
    fr:track) echo "Piste" ;;
    en:participants) echo "List of drivers" ;;
    fr:participants) echo "Liste des pilotes" ;;
    en:parameters) echo "Options of race" ;;
    fr:parameters) echo "Options de course" ;;
    en:session) echo "Demo run" ;;
    fr:session) echo "Run de démo" ;;
  esac
}

# Six drivers with the simulator's transponders, each archiving his runs, and a circuit with a lap
# record the cars will beat: written only into a program folder whose databases are still empty,
# so that a club's own data is never touched.
demo_prepare_data() {
  local drivers="$program_dir/BaseDonnéesPilotes.bd" circuits="$program_dir/BaseDonnéesCircuits.bd"
  if [ ! -s "$drivers" ]; then
    local k=0 name
    : >"$drivers"
    for name in "${demo_drivers[@]}"; do
      k=$((k + 1))
      printf '%s\t\t\t\t\t\t\t\t\t\t%06d\t\t\t\r\n' "$name" $((1000 + k)) >>"$drivers"
      printf '1\t0\t\r\n' >"$program_dir/Base données runs/$name.bdr"
    done
    echo "Demo drivers written: ${demo_drivers[*]} (transponders 001001 to 001006)"
  fi
  if [ ! -s "$circuits" ]; then
    printf '%s\t120\t25.000\t25000\tCLUB\t3\tDemo\t\t\r\n' "$demo_circuit" >"$circuits"
    echo "Demo circuit written: $demo_circuit"
  fi
}

# Opens the pop-up menu of a tree node and chooses its item.
demo_node_menu() {
  demo_robot tree-select "$1" >/dev/null && demo_robot tree-rclick "$1" >/dev/null &&
    demo_robot popup 5000 >/dev/null
}

# The line number (from 0) of a text in a list that the robot prints joined by "|".
demo_index_of() { tr '|' '\n' <<<"$2" | awk -v name="$1" '$0 == name { print NR - 1; exit }'; }

# From the new session of start-up: its name, the circuit, the six drivers, a 10-minute run with a
# 5 s countdown, run 1 added and selected, saved once as demo.trng, Start pressed.
demo_start_run() {
  local title list index name
  demo_node_menu 10000 || return 1
  demo_robot edit-label "$(demo_text session)" 5000 >/dev/null || return 1

  demo_node_menu 11000 || return 1
  title=$(demo_text track)
  list=$(demo_robot in "$title" list 4102)
  index=$(demo_index_of "$demo_circuit" "$list")
  [ -n "$index" ] && demo_robot in "$title" select 4102 "$index" >/dev/null
  demo_robot in "$title" click 1 >/dev/null
  demo_robot wait-gone '#32770' 5000 >/dev/null || return 1

  demo_node_menu 12000 || return 1
  title=$(demo_text participants)
  for name in "${demo_drivers[@]}"; do
    # The database list is read again each time: an added driver may leave it.
    list=$(demo_robot in "$title" list 4203)
    index=$(demo_index_of "$name" "$list")
    [ -n "$index" ] || continue
    demo_robot in "$title" select 4203 "$index" >/dev/null
    demo_robot in "$title" click 4204 >/dev/null
  done
  demo_robot in "$title" click 1 >/dev/null
  demo_robot wait-gone '#32770' 5000 >/dev/null || return 1

  demo_node_menu 13000 || return 1
  title=$(demo_text parameters)
  demo_robot in "$title" set 4405 10 >/dev/null
  demo_robot in "$title" set 4407 5 >/dev/null
  demo_robot in "$title" click 1 >/dev/null
  demo_robot wait-gone '#32770' 5000 >/dev/null || return 1

  demo_node_menu 14000 || return 1
  sleep 0.3
  if [ ! -e "$program_dir/demo.trng" ]; then
    demo_robot command 1004 >/dev/null
    demo_robot file demo 10000 >/dev/null || return 1
    sleep 0.5
  fi
  demo_robot tree-select 14001 >/dev/null || return 1
  sleep 0.5
  demo_robot click 2001 >/dev/null
  demo_robot wait-state 2001 disabled 3000 >/dev/null
}
