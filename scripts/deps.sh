# Packages the project needs on Debian 12; installed only when missing.
VOS_PACKAGES=(cmake g++ make pkg-config qt6-base-dev libcurl4-openssl-dev libgtest-dev libgmock-dev
              libbenchmark-dev xvfb xauth fonts-noto-cjk clang-format clang-tidy)

install_missing_packages() {
    local missing=()
    local pkg
    for pkg in "${VOS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        # Through env, so the setting survives sudo.
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
}
