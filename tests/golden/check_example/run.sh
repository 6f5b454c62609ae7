# The folder of the case, written as TMP in the findings.
"$@" | sed "s|$PWD|TMP|g"
exit "${PIPESTATUS[0]}"
