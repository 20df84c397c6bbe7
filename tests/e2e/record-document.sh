#!/bin/sh
# Stands in for the browser and the mail program that Wine's shell starts for
# a document: appends what it was asked to open, one line a call, to
# documents.log in drive C: of the Wine prefix that started it.
printf '%s\n' "$*" >>"${WINEPREFIX:-$HOME/.wine}/drive_c/documents.log"
