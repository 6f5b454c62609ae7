# The protocols of the case protocols_several.
bash "$(dirname "$0")/../protocols_several/setup.sh"
