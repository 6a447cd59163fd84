"""Veltrin end to end, as a person uses it: the real program on a real X server (Xvfb),
bare, under a window manager, as a Wayland client of Weston, or the Windows program under
Wine, driven with xdotool and read back from the screen. One module per part: the game's
model (game), what every part shares (harness), one module per kind of session (x11,
weston, wine, with screenreader for assistive technology), one run of the program
(program), the cases (cases) and the command line (__main__)."""
