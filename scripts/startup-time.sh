#!/usr/bin/env bash
# Measures how long Corvalin takes from its start to a painted entry window
# (the restore and the word-processor check included), under a virtual
# display, and prints the median of the runs.
# Usage: scripts/startup-time.sh [RUNS] [FOREIGN_KEYS] [TOPICS]
# With FOREIGN_KEYS, the settings file also holds a section of that many keys
# of another program, as a file shared with one does. With TOPICS (2 to 50),
# the meeting has that many agenda topics, every field of each filled.
# Uses the build in build/ (scripts/test.sh or scripts/run.sh makes it).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
if [ -z "${DISPLAY:-}" ]; then
  ensure_packages xvfb xauth
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
RUNS=${1:-21}
FOREIGN=${2:-0}
TOPICS=${3:-1}
BIN="$ROOT/build/corvalin"
[ -x "$BIN" ] || { echo "Build first: scripts/test.sh" >&2; exit 1; }

measure() {
  local times=() start end i
  # A settings folder of its own holding the sample meeting, as a user's would.
  local home; home=$(mktemp -d)
  mkdir -p "$home/.config"
  cat > "$home/.config/Tessaly.ini" <<'INI'
[Corvalin]
txtTitle=BIG MEETING
txtMeetingCalledBy=Orrin Vasque
txtMeetingLocation=Conference Room B
txtTypeOfMeeting=Informative
txtFacilitator=Hale Dorrance
txtNoteTaker=Mira Calloway
txtTimeKeeper=Tobias Renwick
txtAttendees=Everyone
txtTimeAlloted0=30 minutes
txtTopic0=Penguin Meeting
txtPresenter0=Orrin Vasque
txtDiscussion10=Penguins are black and white.
txtDiscussion20=Some old TV shows are black and white.
txtDiscussion30=
txtConclusion10="Therefore, some penguins are old TV shows."
txtConclusion20=
txtConclusion30=
txtAction10=Watch March Of The Penguins
txtAction20=
txtPerson10=Lio Vasque
txtPerson20=
dtpDeadlin10=
dtpDeadline20=
txtResource=Ansel Marrow
txtObservers=Spider in back right corner of conference room
txtNotes=None
INI
  if ((TOPICS > 1)); then
    local t f
    for ((t = 1; t < TOPICS; t++)); do
      for f in txtTimeAlloted txtTopic txtPresenter txtDiscussion1 txtDiscussion2 txtDiscussion3 txtConclusion1 \
               txtConclusion2 txtConclusion3 txtAction1 txtAction2 txtPerson1 txtPerson2; do
        echo "$f$t=$f of topic $((t + 1)) as the meeting agreed it."
      done
      echo "dtpDeadlin1$t="
      echo "dtpDeadline2$t="
    done >> "$home/.config/Tessaly.ini"
    echo "intTopicCount=$TOPICS" >> "$home/.config/Tessaly.ini"
  fi
  if ((FOREIGN > 0)); then
    printf '\n[Planner]\n' >> "$home/.config/Tessaly.ini"
    seq 0 $((FOREIGN - 1)) | sed 's/.*/recentItem&=a value another program keeps, &/' >> "$home/.config/Tessaly.ini"
  fi
  for i in $(seq "$RUNS"); do
    start=$(date +%s%N)
    HOME="$home" XDG_CONFIG_HOME="$home/.config" CORVALIN_EXIT_WHEN_SHOWN=1 "$BIN" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  rm -rf "$home"
  printf '%s\n' "${times[@]}" | sort -n | awk -v foreign="$FOREIGN" -v topics="$TOPICS" '{a[NR]=$1} END {printf "start to shown entry window: median %d ms (min %d, max %d, %d runs, %d foreign keys, %d topics)\n", a[int((NR+1)/2)], a[1], a[NR], NR, foreign, topics}'
}

measure
