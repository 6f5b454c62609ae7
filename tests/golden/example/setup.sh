# Runs the shipped example exactly as it stands in examples/.
cp -a "$(dirname "$0")/../../../examples/." .
