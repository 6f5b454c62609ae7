# The shipped example, checked as it stands in examples/.
cp -a "$(dirname "$0")/../../../examples/." .
