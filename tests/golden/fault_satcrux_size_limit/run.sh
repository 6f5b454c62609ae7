ulimit -f 1024
"$@"
