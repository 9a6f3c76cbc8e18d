@echo off
rem Flies the demo at the demo airport PXIN in real time: pistavox-sim taxis out, lines up the wrong
rem way on the runway and turns round, takes off from 27L, flies a circuit and lands, while Pistavox,
rem connected to it, announces, traces and scores it in its window. Under six minutes; Pistavox ends
rem with the flight and prints a summary. "demo.bat --headless" runs it without the window.
rem PISTAVOX_DEMO_SPEED plays the flight faster, for tests.
setlocal
cd /d "%~dp0"
if not defined PISTAVOX_DEMO_SPEED set PISTAVOX_DEMO_SPEED=1
rem The demo's own settings and logbook, never your own.
set "PISTAVOX_CONFIG_DIR=%~dp0demo\config"
set "PISTAVOX_DATA_DIR=%~dp0demo\logbook"
if not exist "demo\config" mkdir "demo\config"
rem The flight plan names 27L, so lining up on 09R is the wrong runway.
echo expected_airport=PXIN> "demo\config\settings.txt"
echo expected_runway=27L>> "demo\config\settings.txt"
start "pistavox-sim" /b pistavox-sim.exe --scenario demo --airport PXIN --runway 27L --exit-at-end --speed %PISTAVOX_DEMO_SPEED% > "demo\sim.log" 2>&1
pistavox.exe --exit-with-simulator %*
set status=%errorlevel%
echo.
echo The demo's landing is in demo\logbook\logbook.csv; pistavox-logbook.exe prints your own logbook.
exit /b %status%
