# Sourced by the run scripts: stops with a clear message and exit 1 when no display is reachable,
# instead of letting Qt abort. $1 is the program's name, $2 the path of its binary.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    echo "Нет дисплея: $1 — оконная программа. Запустите её в сеансе рабочего стола" \
         "или на виртуальном экране (apt-get install xvfb): xvfb-run $2" >&2
    echo "Без дисплея работают программы командной строки: bash scripts/build-cli.sh" >&2
    exit 1
fi
