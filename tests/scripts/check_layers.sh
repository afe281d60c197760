#!/usr/bin/env bash
# Checks the include direction between the source folders: base/ needs nothing above it,
# the core folders never reach into the desktop program, and widgets live only in app/
# and the gui/ folders. Prints each offending line and fails when there is one.
set -u
cd "$(dirname "$0")/../../src"
shopt -s lastpipe
bad=0
report() { while IFS= read -r line; do echo "layering: $line"; bad=1; done; }

grep -rnE '#include "(zip|import|templates|publish|session|app|cli)/' base | report
grep -rnE '#include "(session|app|cli)/' zip import templates publish session \
  --include='*.h' --include='*.cpp' | grep -v '/gui/' | grep -vE '^session/.*"session/' | report
grep -rnE '#include "[a-z]+/gui/' zip import templates publish session base cli \
  --include='*.h' --include='*.cpp' | grep -v '/gui/.*:' | report
grep -rnE '#include <(QtWidgets|QtWebEngine[A-Za-z]*)/|#include <Q(Widget|Dialog|MainWindow|Application)>' \
  base zip import templates publish session cli --include='*.h' --include='*.cpp' | grep -v '/gui/' | report
exit $bad
