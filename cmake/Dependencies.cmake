# System libraries, all from Debian packages installed by tools/setup.sh.
# Later folders add theirs here as imported targets.
