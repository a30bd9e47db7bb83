# Tests of the Win32 backends and of the whole program, run under Wine.
# Placeholder until the Wine harness lands.
