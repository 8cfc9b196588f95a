#!/bin/sh
# Stands in for the web browser: records each address it is asked to open.
printf '%s\n' "$*" >> "$JARSTART_BROWSER_RECORD"
