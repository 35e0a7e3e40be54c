@echo off
rem Compares two folders in Osprey for git difftool, or for anything that names two folders:
rem     osprey-difftool.cmd FOLDER_A FOLDER_B
rem Both paths are made whole first, then Osprey starts from this folder, so Osprey.ini is
rem read and written here and never in the caller's folder (a git repository). The script
rem waits until Osprey is closed.
setlocal
set "KO_A=%~f1"
set "KO_B=%~f2"
pushd "%~dp0"
start "" /wait "%~dp0Osprey.exe" "%KO_A%" "%KO_B%"
popd
