# Standard output on /dev/full, standard error in its place.
"$@" 2>&1 > /dev/full
