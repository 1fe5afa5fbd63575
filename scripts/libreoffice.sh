# Sourced by the scripts that set Corvalin's pages beside LibreOffice's.
#
#   libreoffice_to_pdf DOCUMENT OUTDIR WORKDIR [SECONDS]
#
# Converts DOCUMENT to OUTDIR/NAME.pdf. LibreOffice runs with a profile of its
# own in WORKDIR, so that an office already open neither takes the job nor is
# disturbed by it; in a session of its own, so that a conversion that takes
# longer than SECONDS (180 unless given) is ended whole (the script, its
# launcher and the office process); and with fontconfig shown the Tahoma
# Corvalin uses, which it otherwise replaces with DejaVu Sans.
libreoffice_to_pdf() {
    local document=$1 outdir=$2 work=$3 limit=${4:-180}
    cat > "$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><include ignore_missing="yes">/etc/fonts/fonts.conf</include><dir>/usr/share/wine/fonts</dir></fontconfig>
CONF
    setsid env FONTCONFIG_FILE="$work/fonts.conf" soffice "-env:UserInstallation=file://$work/profile" \
        --headless --convert-to pdf --outdir "$outdir" "$document" >"$work/soffice.log" 2>&1 &
    local office=$! waited=0
    while kill -0 "$office" 2>/dev/null; do
        if [ "$waited" -ge $((limit * 10)) ]; then
            kill -KILL -- "-$office" 2>/dev/null || true
            wait "$office" 2>/dev/null || true
            echo "LibreOffice took longer than $limit s over $document" >&2
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    wait "$office" || { cat "$work/soffice.log" >&2; return 1; }
}
