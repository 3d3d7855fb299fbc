<!-- placeholder until the page lands -->
