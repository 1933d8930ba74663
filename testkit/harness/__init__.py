"""The Wine environment and the GUI driver that the end-to-end suite, the demo, the help pictures and the
bench run the program in."""
