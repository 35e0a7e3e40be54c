@echo off
rem Compares two files in Kestrel for git difftool, or for anything that names two files:
rem     kestrel-difftool.cmd FILE_A FILE_B
rem Both paths are made whole first, then Kestrel starts from this folder, so kestrel.ini is
rem read and written here and never in the caller's folder (a git repository). The script
rem waits until Kestrel is closed.
setlocal
set "KO_A=%~f1"
set "KO_B=%~f2"
pushd "%~dp0"
start "" /wait "%~dp0Kestrel.exe" "%KO_A%" "%KO_B%"
popd
