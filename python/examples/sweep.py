"""The README's example: exact steady amplitudes over the frequency ratio for a few
friction ratios, from the Python module, plotted with matplotlib into sweep.png."""

import sys

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt
import numpy as np

import frictionvib

z = np.linspace(0.05, 3, 600)
ratios = np.array([0.0, 0.2, 0.4, 0.6, 0.8])[:, None]
cells = frictionvib.exact_steady(zeta=0.1, z=z, friction_ratio=ratios)  # 3,000 systems

fig, ax = plt.subplots(figsize=(6.4, 3.6), dpi=100)
for k, r in enumerate(ratios[:, 0]):
    amplitude = np.where(cells["converged"][k], cells["amplitude_exact"][k], np.nan)
    ax.plot(z, amplitude, label=f"Yc/Yf = {r:g}")
    stops = cells["stops_per_cycle"][k] > 0
    ax.plot(z[stops], amplitude[stops], ".", ms=2, color="black")
ax.set(xlabel="frequency ratio z", ylabel="amplitude / Yf", yscale="log",
       title="Exact steady amplitude, zeta = 0.1 (dots: the mass stops)")
ax.legend()
fig.tight_layout()
fig.savefig(sys.argv[1] if len(sys.argv) > 1 else "sweep.png")
