#!/usr/bin/env bash
# Prints the texts of the visible dialogs (message boxes included), for polling from kv_wait_for.
wine "$KV_BIN/kvprobe.exe" dialogs </dev/null 2>/dev/null | tr -d '\r'
