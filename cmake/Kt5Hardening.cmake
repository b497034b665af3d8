# Hardening for what is shipped, linked PRIVATE by the program and kt5_tones.
add_library(kt5_hardening INTERFACE)
