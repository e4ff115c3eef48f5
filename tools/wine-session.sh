# Makes sure Xvfb and one persistent wineserver run for the project's prefix
# (sourced). With WINE_SESSION_KEEP=1 they are left running for later calls
# (the wineserver ends by itself after five idle minutes); otherwise what this
# script started is stopped when the calling script exits.
: "${DISPLAY:=:99}"
export DISPLAY
_started_xvfb=""
_started_wineserver=""
_xlock="/tmp/.X${DISPLAY#:}-lock"
if ! { [ -f "$_xlock" ] && kill -0 "$(tr -d ' ' < "$_xlock")" 2>/dev/null; }; then
  rm -f "$_xlock" "/tmp/.X11-unix/X${DISPLAY#:}"
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  _started_xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi
if [ "${WINE_SESSION_KEEP:-}" = 1 ]; then
  wineserver -p300 >/dev/null 2>&1 </dev/null || true
  _started_xvfb=""
elif wineserver -p >/dev/null 2>&1 </dev/null; then
  _started_wineserver=1
fi
# Wine's service processes start with the first program of a wineserver and
# inherit its standard handles; start them here on /dev/null so they never
# hold a test runner's output pipe open.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

wine_session_end() {
  if [ -n "$_started_wineserver" ]; then wineserver -k >/dev/null 2>&1 || true; wineserver -w >/dev/null 2>&1 || true; fi
  if [ -n "$_started_xvfb" ]; then kill "$_started_xvfb" >/dev/null 2>&1 || true; wait "$_started_xvfb" 2>/dev/null || true; fi
}
trap wine_session_end EXIT
