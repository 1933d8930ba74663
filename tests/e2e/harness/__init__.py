"""Harness of the end-to-end suite: the Wine environment and the GUI driver."""
