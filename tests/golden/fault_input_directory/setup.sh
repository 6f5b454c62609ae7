mkdir INPUT.DIR
